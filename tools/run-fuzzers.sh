#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Runs each fuzz target of a fuzz build for the given number of seconds, keeping a corpus
# per target under fuzz-corpus/ (seeded from fuzz/corpus/<target> when present).
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
only=${3:-}
status=0

# Every target runs within the same memory and per-input time: an input past either is a
# finding (a crash file under fuzz/), not a machine brought to a halt.
common=(-rss_limit_mb=2048 -timeout=10)

# Options of one target.
target_options() {
  case "$1" in
    # A workbook typed and calculated: a few short sheets say all a longer input would,
    # and every byte more makes each run slower.
    calc_fuzzer) echo "-max_len=2048" ;;
    *) echo "" ;;
  esac
}

for target in "$build"/fuzz/*_fuzzer; do
  name=$(basename "$target")
  [ -n "$only" ] && [ "$name" != "$only" ] && continue
  corpus=fuzz-corpus/$name
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  read -r -a options <<< "$(target_options "$name")"
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=fuzz/ \
      "${common[@]}" "${options[@]}" "$corpus" "${seeds[@]}" 2>&1 \
      | grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==|SUMMARY|Done)"; then
    :
  fi
  [ "${PIPESTATUS[0]}" -ne 0 ] && status=1
done
exit $status
