#!/usr/bin/env bash
# Sets the machine up, builds the game and runs it on the repository's own
# Data/, read-only: the game writes its options, history, screenshots, caches
# and logs to the player's folders (~/.config/halvardine, ~/.local/share/halvardine,
# ~/.cache/halvardine), as the installed game does. Arguments go to the game
# ("--home DIR" keeps everything it writes in DIR instead).
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
exec "$game" --data "$(pwd)/Data" "$@"
