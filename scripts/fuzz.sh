#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for SECONDS (default 60) on its seeds and the tag dictionary,
# printing libFuzzer's final counts. A broken invariant stops with the input
# printed in base64: keep it under fuzz/corpus/TARGET/ as a regression case.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 >/dev/null
for target in markup preview_html radix utf8_input; do
  echo "== $target ($seconds s)"
  fuzz/run.sh "build/fuzz/fuzz/${target}_fuzz" "fuzz/corpus/$target" fuzz/tags.dict "$seconds"
done
