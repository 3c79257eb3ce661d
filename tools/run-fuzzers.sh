#!/usr/bin/env bash
# Runs each fuzz target of a fuzz build for the given number of seconds, keeping a corpus
# per target under fuzz-corpus/ (seeded from fuzz/corpus/<target> when present).
set -euo pipefail
build=${1:-build-fuzz}
seconds=${2:-60}
only=${3:-}
status=0
for target in "$build"/fuzz/*_fuzzer; do
  name=$(basename "$target")
  [ -n "$only" ] && [ "$name" != "$only" ] && continue
  corpus=fuzz-corpus/$name
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  echo "== $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix=fuzz/ \
      "$corpus" "${seeds[@]}" 2>&1 | grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==|SUMMARY|Done)"; then
    :
  fi
  [ "${PIPESTATUS[0]}" -ne 0 ] && status=1
done
exit $status
