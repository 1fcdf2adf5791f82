#!/usr/bin/env bash
# The window's whole benchmark table: keystroke latency at every size and
# shape beside the file:// floor, then start-up time and memory.
#   bench/desktop.sh [build-dir] [rounds]      (defaults: build/release, 3)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build/release}
rounds=${2:-3}
# The web engine refuses its sandbox as root; only benchmarks and tests turn it off.
[ "$(id -u)" = 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
echo "== keystroke latency (bench/desktop_bench) =="
"$here/../scripts/with-xvfb.sh" "$build/bench/desktop_bench" "$rounds" 2>/dev/null
echo
echo "== start-up and memory (bench/desktop_startup.py) =="
"$here/desktop_startup.py" "$build/desktop/bbcolour"
