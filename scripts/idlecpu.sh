#!/usr/bin/env bash
# Measures the processor use of an idle game limited to "MaxTickRate 60": runs
# the built game under Xvfb from a copy of Data/ with sound off, waits until it
# has started, then reads the process's processor time from /proc over a span
# of seconds and prints it as a share of one core.
#   scripts/idlecpu.sh [seconds] [build directory]     (10, build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
game="$(realpath "${2:-build/release}")/halvardine"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cp -r Data "$work/Data"
sed -i 's/^Audio=.*/Audio=tNullAudioSubSystem/' "$work/Data/StdConfig/engine.ini"
printf '\nSet MaxTickRate 60\n' >> "$work/Data/StdConfig/console.cfg"

cat > "$work/measure.sh" <<'SCRIPT'
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
awk -v t=$((after - before)) -v hz="$(getconf CLK_TCK)" -v s="$3" \
  'BEGIN { printf "Idle game at MaxTickRate 60: %.1f %% of one core over %d s\n", 100 * t / hz / s, s }'
SCRIPT
HALVARDINE_NO_MSGBOX=1 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null \
  xvfb-run -a -s "-screen 0 1024x768x24" sh "$work/measure.sh" "$work" "$game" "$seconds"
