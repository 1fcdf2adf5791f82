#!/usr/bin/env bash
# Builds everything and runs every test: the optimised build (engine, CLI,
# desktop under a virtual display), the engine and CLI again under
# AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzz target for a
# few seconds (scripts/fuzz.sh runs them for longer).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release -j2
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j2
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

# The desktop tests start their own X servers; ctest needs no display.
ctest --preset release
ctest --preset sanitize
ctest --preset fuzz
