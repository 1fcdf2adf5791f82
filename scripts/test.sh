#!/usr/bin/env bash
# Builds everything and runs every test: the optimised build (engine, CLI,
# desktop under a virtual display) and the engine and CLI again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build --preset release -j2
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j2

# The desktop tests start their own X servers; ctest needs no display.
ctest --preset release
ctest --preset sanitize
