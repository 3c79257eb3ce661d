#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs what building, testing and fuzzing need on Debian 12, when run as root; otherwise
# says exactly what to install. Called by `make test`, `make sanitize`, `make fuzz` and
# `make docs`.
set -euo pipefail

need=(cmake ninja-build g++ pkg-config libicu-dev bison libsqlite3-dev libgtest-dev libgmock-dev
  libbenchmark-dev)
if [ "${1:-}" = "--fuzz" ]; then
  need+=(clang libclang-rt-14-dev)
fi
if [ "${1:-}" = "--docs" ]; then
  need+=(doxygen)
fi

missing=()
for pkg in "${need[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
  echo "bootstrap: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "bootstrap: missing packages: ${missing[*]}" >&2
  echo "bootstrap: install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
