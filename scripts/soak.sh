#!/usr/bin/env bash
# A long match that must not leak: the shipped game under Xvfb for MINUTES
# while a generated script churns it (weather changes, the player's aircraft
# flown into a hill every 15 s so the countdown and respawn run, windows
# opened and reset, screenshots, console lines) and the pointer fires 3 s
# bursts of shots every 5 s. Every 10 s it logs resident memory, live engine
# objects, OpenGL objects and open files into soak.log.
#
#   scripts/soak.sh MINUTES             the release build
#   SOAK_BUILD=build/asan scripts/soak.sh 5
#                                       the sanitizer build, judged by its
#                                       reports rather than its memory
#   SOAK_DIR=/tmp/x scripts/soak.sh 30  keeps the run in /tmp/x
#
# It fails when the game hangs (no statistics for 30 s: the watchdog writes
# every thread's stack to stacks.txt and ends it), reaches a fatal error, a
# sanitizer reports anything, the game does not end with exit 0 and "Objects
# left: 0", the live objects of the last minute exceed those of the second
# minute beyond a small margin, or (release runs of 3 minutes or more) the
# last minute's memory exceeds the second minute's by more than 5 %. Runs
# shorter than 3 minutes compare the last third with the second sixth.
set -euo pipefail
MINUTES=${1:?usage: scripts/soak.sh MINUTES}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "$ROOT" && cd "${SOAK_BUILD:-build/release}" && pwd)
GAME=$BUILD/halvardine
[ -x "$GAME" ] || { echo "soak: no game at $GAME (build it first)"; exit 1; }
DIR=${SOAK_DIR:-$(mktemp -d /tmp/halvardine-soak.XXXXXX)}
mkdir -p "$DIR"
rm -rf "$DIR/Data"
cp -r "$ROOT/Data" "$DIR/Data"
SECONDS_TOTAL=$((MINUTES * 60))
python3 "$ROOT/scripts/soakchurn.py" "$SECONDS_TOTAL" > "$DIR/Data/soak.dem"
printf '\nPlayDemo soak.dem\n' >> "$DIR/Data/StdConfig/console.cfg"

# Inside the X server: the game, then the pointer's bursts of fire until it ends.
cat > "$DIR/driver.sh" <<'EOF'
cd "$(dirname "$0")"
"$1" --no-menu > stdout.txt 2> stderr.txt &
echo $! > game.pid
WINDOW=$(timeout 60 xdotool search --sync --onlyvisible --name '^Halvardine 3D Engine$' | head -n 1)
if [ -n "$WINDOW" ]; then
  xdotool mousemove --window "$WINDOW" 512 384
  while kill -0 "$(cat game.pid)" 2>/dev/null; do
    xdotool mousedown 1 2>/dev/null; sleep 3; xdotool mouseup 1 2>/dev/null; sleep 2
  done &
fi
wait "$(cat game.pid)"
echo $? > exitcode.txt
EOF

export HALVARDINE_NO_MSGBOX=1 SDL_AUDIODRIVER=dummy ALSOFT_DRIVERS=null
export LSAN_OPTIONS="suppressions=$ROOT/tests/integration/lsan.supp:print_suppressions=0"
rm -f "$DIR/game.pid" "$DIR/exitcode.txt" "$DIR/stacks.txt"
xvfb-run -a -s '-screen 0 1024x768x24' sh "$DIR/driver.sh" "$GAME" &
XVFB=$!

for _ in $(seq 300); do [ -s "$DIR/game.pid" ] && break; sleep 0.1; done
PID=$(cat "$DIR/game.pid")
START=$(date +%s)
# A loaded machine stretches the game's time (its simulation drops what a
# stalled frame missed), so the bound on the whole run is generous; a hang is
# caught by the statistics that stop coming.
DEADLINE=$((START + 2 * SECONDS_TOTAL + 300))
echo "# seconds rss_kib objects gl_objects open_files" > "$DIR/soak.log"
LAST_STATS=0
QUIET=0
VERDICT=""
while kill -0 "$PID" 2>/dev/null; do
  sleep 10
  kill -0 "$PID" 2>/dev/null || break
  NOW=$(($(date +%s) - START))
  RSS=$(awk '/^VmRSS:/ {print $2}' "/proc/$PID/status" 2>/dev/null || echo 0)
  FILES=$(ls "/proc/$PID/fd" 2>/dev/null | wc -l)
  STATS=$(grep -c '^ObjectStats:' "$DIR/stdout.txt" || true)
  LINE=$(grep '^ObjectStats:' "$DIR/stdout.txt" | tail -n 1 || true)
  OBJECTS=$(awk '{print $3}' <<<"$LINE")
  GL=$(awk '{print $6}' <<<"$LINE")
  echo "$NOW ${RSS:-0} ${OBJECTS:-0} ${GL:-0} $FILES" | tee -a "$DIR/soak.log"
  # The churn asks for statistics every 5 s: none for 30 s is a hang.
  if [ "$STATS" -eq "$LAST_STATS" ]; then QUIET=$((QUIET + 10)); else QUIET=0; fi
  LAST_STATS=$STATS
  if [ "$QUIET" -ge 30 ] || [ "$(date +%s)" -gt "$DEADLINE" ]; then
    VERDICT="the game hung: stacks in $DIR/stacks.txt"
    gdb -p "$PID" -batch -ex "thread apply all bt" > "$DIR/stacks.txt" 2>&1 || true
    kill "$PID" 2>/dev/null || true
    break
  fi
done
wait "$XVFB" || true

python3 "$ROOT/scripts/soakverdict.py" "$DIR" "$MINUTES" "${SOAK_BUILD:-build/release}" "$VERDICT"
