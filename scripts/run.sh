#!/usr/bin/env bash
# Sets the machine up, builds the game and runs it from a working copy of Data/
# (the engine rewrites its INI and writes logs, caches and screenshots there,
# so the repository's own Data/ is never modified). Arguments go to the game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release
game=build/release/halvardine
if [ ! -x "$game" ]; then
  echo "The game is not built yet: the engine host (src/main.cpp) has not landed."
  exit 1
fi
run=build/release/run
mkdir -p "$run"
if [ -d Data ]; then
  # Keep the working copy in step with the repository, but leave what the
  # engine itself wrote (logs, caches, screenshots, the rewritten INI) alone.
  cp -r --update Data "$run/"
fi
cd "$run"
exec ../halvardine "$@"
