#!/usr/bin/env bash
# Sets the machine up, builds the engine with its tests and runs every test.
#   scripts/test.sh            optimised build (build/release)
#   scripts/test.sh asan       address + undefined-behaviour sanitizers (build/asan)
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-release}"
scripts/setup.sh
# With Xvfb installed every test can have its display and OpenGL context: one
# that still finds none has found a fault, and fails instead of skipping.
if command -v Xvfb >/dev/null; then export HALVARDINE_NO_SKIPS=1; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
