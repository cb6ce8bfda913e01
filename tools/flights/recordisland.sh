#!/bin/bash
# Records the shipped flight Data/Demos/island.dem with the game itself: the
# game plays island.txt (the guns, the storm, the end) while xdotool flies
# the aircraft by its keys, its fire button and the pointer, under Xvfb at
# 1024 x 768. The flight follows the wall clock, so every recording differs a
# little; run from the repository root after a release build:
#
#   tools/flights/recordisland.sh [build/release]
set -euo pipefail
BUILD=$(realpath "${1:-build/release}")
ROOT=$(pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp -r Data "$WORK/Data"
cp tools/flights/island.txt "$WORK/Data/island.txt"
cd "$WORK"
export ALSOFT_DRIVERS=null SDL_AUDIODRIVER=dummy

fly() {
    local W
    W=$(xdotool search --sync --onlyvisible --name "Halvardine 3D Engine" | head -1)
    xdotool windowfocus "$W" 2>/dev/null || true
    sleep 3
    hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
    burst() { xdotool mousedown 1; sleep "$1"; xdotool mouseup 1; }
    steer() { for _ in $(seq "$3"); do xdotool mousemove_relative -- "$1" "$2"; sleep 0.1; done; }
    # Holds last seconds: a slow machine draws few frames, and a key let go
    # within one frame is never seen by the aircraft.
    # Plasma north along the west coast, then a turn east over the valleys.
    burst 2; sleep 2; burst 2
    hold h 2.5; sleep 2; hold f 2; burst 2.5
    steer 20 0 25; burst 2; hold g 1.5; burst 2; hold t 1.5
    # The rail gun comes with the next aircraft: down into the hills.
    hold g 5; sleep 14
    # Rail shots over the forest, in the storm, turning inland.
    hold h 2.5; sleep 1; hold f 2
    for _ in 1 2 3; do xdotool click 1; sleep 3; hold h 1.5; hold f 1.2; done
    steer 0 15 20; hold b 2; hold v 2
    # The pulse gun next: a second crash.
    hold g 5; sleep 14
    hold h 2.5; sleep 1; hold f 2
    for _ in 1 2 3 4; do burst 2; hold t 1.2; hold h 1.5; sleep 1; hold f 1.2; done
    steer -20 5 20; burst 2.5
}

xvfb-run -a -s "-screen 0 1024x768x24" bash -c "
    '$BUILD/halvardine' --no-menu '+PlayDemo island.txt' > game.out 2>&1 &
    GAME=\$!
    $(declare -f fly)
    fly || true
    wait \$GAME
"
grep -E "Recorded island" game.out
mkdir -p "$ROOT/Data/Demos"
cp Data/Demos/island.dem "$ROOT/Data/Demos/island.dem"
