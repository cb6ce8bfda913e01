#!/usr/bin/env bash
# Processor use of the built game at "MaxTickRate 60", under Xvfb from a copy
# of Data/ with sound off, read from /proc over a span of seconds as a share
# of one core. Two figures:
#   - the idle engine: no level (console.cfg runs without level.cfg), so what
#     is left is the main loop, the console and the frame limiter's wait;
#     a limiter that spins instead of sleeping shows here;
#   - the running game: the island, the sky and the match drawn 60 times a
#     second (llvmpipe draws on the processor, so this one is large).
#   scripts/idlecpu.sh [seconds] [build directory]     (10, build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
game="$(realpath "${2:-build/release}")/halvardine"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Data/ for one of the two runs; $2 = "idle" leaves the level out.
prepare() {
  cp -r Data "$1/Data"
  sed -i 's/^Audio=.*/Audio=tNullAudioSubSystem/' "$1/Data/StdConfig/engine.ini"
  if [ "$2" = idle ]; then
    sed -i '/^exec StdConfig\\level.cfg/d; /^PlayAmbientSound/d' "$1/Data/StdConfig/console.cfg"
  fi
  printf '\nSet MaxTickRate 60\n' >> "$1/Data/StdConfig/console.cfg"
}
mkdir "$work/idle" "$work/game"
prepare "$work/idle" idle
prepare "$work/game" game

cat > "$work/measure.sh" <<'SCRIPT'
# measure.sh <working dir> <game> <seconds> <label>
cd "$1"
"$2" --no-menu > stdout.txt 2> stderr.txt &
game=$!
timeout 60 sh -c 'until grep -q "Startup took" engine.log 2>/dev/null; do sleep 0.1; done'
sleep 1
# Fields 14 and 15 of /proc/<pid>/stat: user and system time in clock ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }
before=$(ticks)
sleep "$3"
after=$(ticks)
kill "$game"
wait "$game" || true
awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$3" -v label="$4" \
  'BEGIN { printf "%s at MaxTickRate 60: %.1f %% of one core over %d s\n", label, 100 * t / hz / s, s }'
SCRIPT
for run in idle game; do
  case "$run" in
    idle) label="Idle engine (no level, the limiter's wait)" ;;
    game) label="Running game (island, sky and match drawn)" ;;
  esac
  HALVARDINE_NO_MSGBOX=1 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null \
    xvfb-run -a -s "-screen 0 1024x768x24" sh "$work/measure.sh" "$work/$run" "$game" "$seconds" "$label"
done
