#!/usr/bin/env bash
# Runs one fuzz target for SECONDS on its seed corpus, keeping what it learns
# in a scratch folder so the repository's seeds stay as they are. Every file
# in the seeds (regression inputs included) is run first.
# Usage: fuzz/run.sh TARGET SEEDS DICT SECONDS
set -euo pipefail
target=$1 seeds=$2 dict=$3 seconds=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
set +e
"$target" -dict="$dict" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$work/" "$work" "$seeds" >"$work.log" 2>&1
status=$?
set -e
grep -E '^(stat::|INFO: Seed)|ERROR|invariant|SUMMARY' "$work.log" || true
if [ "$status" -ne 0 ]; then
  tail -40 "$work.log"
  for crash in "$work"/crash-* "$work"/leak-* "$work"/timeout-*; do
    [ -e "$crash" ] && echo "input kept: $(basename "$crash")" && base64 "$crash"
  done
fi
rm -f "$work.log"
exit "$status"
