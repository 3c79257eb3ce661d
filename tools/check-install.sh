#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Installs the build in BUILD into a temporary prefix, then builds and runs the embedding
# examples against it twice: through find_package(OstrelCells) and through pkg-config.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$BUILD" --prefix "$prefix" > /dev/null
test -x "$prefix/bin/ostrel-cells"
test -f "$prefix/share/man/man1/ostrel-cells.1"
expected=$'42\n4.2\nup'
expected_workbook=$'200\n40\ngap\n120,200\n,40\n80,gap'

cmake -S examples/embed -B "$prefix/embed" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" > /dev/null
cmake --build "$prefix/embed" > /dev/null
got=$("$prefix/embed/own_store")
[ "$got" = "$expected" ] || { echo "check-install: find_package build printed: $got" >&2; exit 1; }
got=$("$prefix/embed/workbook")
[ "$got" = "$expected_workbook" ] || { echo "check-install: find_package workbook printed: $got" >&2; exit 1; }

# The library folder is the one holding pkgconfig/, whatever the platform calls it.
pcdir=$(find "$prefix" -name ostrel-cells.pc -printf '%h\n' | head -1)
# shellcheck disable=SC2046
c++ -std=c++20 examples/embed/own_store.cpp -o "$prefix/own_store_pc" \
  $(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags --libs ostrel-cells)
got=$(LD_LIBRARY_PATH="$(dirname "$pcdir")" "$prefix/own_store_pc")
[ "$got" = "$expected" ] || { echo "check-install: pkg-config build printed: $got" >&2; exit 1; }
# shellcheck disable=SC2046
c++ -std=c++20 examples/embed/workbook.cpp -o "$prefix/workbook_pc" \
  $(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags --libs ostrel-cells)
got=$(LD_LIBRARY_PATH="$(dirname "$pcdir")" "$prefix/workbook_pc")
[ "$got" = "$expected_workbook" ] || { echo "check-install: pkg-config workbook printed: $got" >&2; exit 1; }

printf '1\n2\n=SUM(A1:A2)*2\n' | "$prefix/bin/ostrel-cells" calc - | tail -1 | grep -qx 6
echo "check-install: the installed library, headers, package, pkg-config file and program work"
