#!/bin/sh
# SPDX-License-Identifier: Apache-2.0
# Installs the three peer engines the comparison runs against (Debian 12, as root).
# HyperFormula goes to /tmp/peers, where run_hyperformula.js looks for it.
set -eu
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends libreoffice-calc-nogui gnumeric time
mkdir -p /tmp/peers
npm install --prefix /tmp/peers hyperformula@3.5.0
