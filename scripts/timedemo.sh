#!/usr/bin/env bash
# The game's one-line benchmark: replays the shipped flight Data/Demos/island.dem
# (or another recording) as fast as frames are drawn, under Xvfb at
# 1024 x 768 with sound off, on the checkout's Data/ as installed data and a
# temporary home, and prints the TimeDemo line.
# Fails when the game does not end cleanly or the replay drifted.
#   scripts/timedemo.sh [seconds of the flight] [build directory] [recording]
#                       (all of it, build/release, island)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-}"
game="$(realpath "${2:-build/release}")/halvardine"
flight="${3:-island}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

data="$(pwd)/Data"
cd "$work"
status=0
ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" \
  "$game" --data "$data" --home "$work/home" --no-menu "+Set TimeDemoQuit True" "+TimeDemo $flight $seconds" > stdout.txt 2> stderr.txt || status=$?
grep -E "^TimeDemo |drifted" stdout.txt || true
if [ "$status" -ne 0 ] || ! grep -q "^TimeDemo " stdout.txt || ! grep -q "Objects left: 0" stdout.txt; then
  echo "timedemo: the game ended with $status" >&2
  tail -n 20 stdout.txt stderr.txt >&2
  exit 1
fi
