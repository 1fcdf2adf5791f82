#!/usr/bin/env bash
# Whole-process time and peak memory of bbcolour-cli on a 10 MB UTF-8 file of
# mixed ASCII and Chinese. Usage: bench/cli_bench.sh [path/to/bbcolour-cli]
set -euo pipefail
cli=${1:-"$(dirname "$0")/../build/release/cli/bbcolour-cli"}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
python3 - "$dir/in.txt" <<'PY'
import random, sys
random.seed(1)
parts, size = [], 0
while size < 10 * 1024 * 1024:
    c = chr(97 + random.randrange(26)) if random.random() < 0.5 else chr(0x4E00 + random.randrange(0x5000))
    parts.append(c)
    size += len(c.encode())
open(sys.argv[1], "w", encoding="utf-8").write("".join(parts))
PY
for mode in "" "--html"; do
  for run in 1 2 3; do
    /usr/bin/time -f "%e %M" -o "$dir/time" "$cli" $mode "$dir/in.txt" >"$dir/out"
    read -r seconds kib <"$dir/time"
    out=$(stat -c %s "$dir/out")
    printf 'bbcolour-cli %-6s input %d B  output %d B  %.2f s  peak RSS %d KiB (%.3f x output)\n' \
      "${mode:-code}" "$(stat -c %s "$dir/in.txt")" "$out" "$seconds" "$kib" "$(echo "$kib*1024/$out" | bc -l)"
  done
done
# The tool's own cost, without the file system's: output to /dev/null.
for run in 1 2 3; do
  /usr/bin/time -f "%e %M" -o "$dir/time" "$cli" "$dir/in.txt" >/dev/null
  read -r seconds kib <"$dir/time"
  printf 'bbcolour-cli code   to /dev/null  %.2f s  peak RSS %d KiB\n' "$seconds" "$kib"
done
