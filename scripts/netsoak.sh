#!/usr/bin/env bash
# Load on the networked match: a dedicated server and CLIENTS headless
# clients flown by the autopilot ("--headless --autopilot"), all on
# 127.0.0.1, for MINUTES. The server's port is the one the system gives it,
# so runs side by side never collide. Every 10 s each is asked "NetStats"
# on its standard input; netsoak.log gets the server's clients, resident
# memory, live objects and update time (95th percentile, processor time)
# and each client's bytes per second up and down, ping and corrections.
#
#   scripts/netsoak.sh MINUTES CLIENTS        the release build
#   NETSOAK_BUILD=build/asan scripts/netsoak.sh 1 2
#   NETSOAK_DIR=/tmp/x scripts/netsoak.sh 10 15
#                                             keeps the run in /tmp/x
#   scripts/netlink.sh SECONDS                two clients through the relay
#                                             (NETSOAK_RELAY, NETSOAK_SECONDS)
#
# With NETSOAK_RELAY=1 the clients join through scripts/netrelay.py (100 ms
# +- 20 ms, 5 % lost each way; NETSOAK_RELAY_OPTIONS adds options) and its
# counts end the log; NETSOAK_SECONDS sets the run's length in seconds
# instead of MINUTES.
#
# Goals, each printed and checked (exit 1 when one fails): no client is
# disconnected; the server's memory stays within 5 % of its size after the
# first minute (half the run when shorter); its live objects stay bounded;
# its update takes at most 1 ms at the 95th percentile over the run; every
# kill-feed line of the server is shown once on each client, in order (the
# last two may still be on their way when the clients quit); every program
# ends on "Quit" with exit 0 and "Objects left: 0".
set -euo pipefail
MINUTES=${1:?usage: scripts/netsoak.sh MINUTES CLIENTS}
CLIENTS=${2:?usage: scripts/netsoak.sh MINUTES CLIENTS}
[[ $MINUTES =~ ^[1-9][0-9]*$ && $CLIENTS =~ ^[1-9][0-9]*$ && $CLIENTS -le 15 ]] ||
  { echo "netsoak: MINUTES >= 1 and CLIENTS 1 ... 15 (the match holds 16 pilots)"; exit 2; }
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "$ROOT" && cd "${NETSOAK_BUILD:-build/release}" && pwd)
GAME=$BUILD/halvardine
[ -x "$GAME" ] || { echo "netsoak: no game at $GAME (build it first)"; exit 1; }
DIR=${NETSOAK_DIR:-$(mktemp -d /tmp/halvardine-netsoak.XXXXXX)}
RUN_SECONDS=${NETSOAK_SECONDS:-$((MINUTES * 60))}
SAMPLE_SECONDS=10
export HALVARDINE_NO_MSGBOX=1
export LSAN_OPTIONS="suppressions=$ROOT/tests/integration/lsan.supp:print_suppressions=0"

# Each program in a directory of its own: its log, its INI and its caches.
NAMES=(server)
for i in $(seq "$CLIENTS"); do NAMES+=("client$i"); done
for name in "${NAMES[@]}"; do
  rm -rf "${DIR:?}/$name"
  mkdir -p "$DIR/$name"
  cp -r "$ROOT/Data" "$DIR/$name/Data"
  mkfifo "$DIR/$name/in"
done

declare -A PID INPUT
# start NAME ARGS...: runs the game in NAME's directory, its standard input
# the FIFO this script writes console lines into (held open here, so the
# game never sees the end of its input until told "Quit").
start() {
  local name=$1; shift
  local fd
  exec {fd}<>"$DIR/$name/in"
  INPUT[$name]=$fd
  (cd "$DIR/$name" && exec "$GAME" "$@" < in > stdout.txt 2> stderr.txt) &
  PID[$name]=$!
}
tell() { echo "$2" >&"${INPUT[$1]}" 2>/dev/null || true; }
# wait_for NAME PATTERN SECONDS: the first line of its output that matches.
wait_for() {
  local end=$(($(date +%s) + $3))
  while [ "$(date +%s)" -lt "$end" ]; do
    grep -m 1 -E "$2" "$DIR/$1/stdout.txt" 2>/dev/null && return 0
    kill -0 "${PID[$1]}" 2>/dev/null || break
    sleep 0.2
  done
  return 1
}
cleanup() {
  for name in "${!PID[@]}"; do kill "${PID[$name]}" 2>/dev/null || true; done
}
trap cleanup EXIT

start server --dedicated "+Set ServerPort 0" "+Set MaxClients $CLIENTS"
PORT=$(wait_for server 'Hosting the match on port [0-9]+' 60 | grep -oE '[0-9]+$') ||
  { echo "netsoak: the server did not host (see $DIR/server)"; exit 1; }
JOIN_PORT=$PORT
if [ "${NETSOAK_RELAY:-0}" = 1 ]; then
  # shellcheck disable=SC2086  # the options are words
  python3 "$ROOT/scripts/netrelay.py" --server "$PORT" --seconds $((RUN_SECONDS + 300)) \
    ${NETSOAK_RELAY_OPTIONS:-} > "$DIR/relay.txt" &
  PID[relay]=$!
  for _ in $(seq 100); do [ -s "$DIR/relay.txt" ] && break; sleep 0.1; done
  JOIN_PORT=$(head -n 1 "$DIR/relay.txt" | sed -nE 's/^netrelay: 127\.0\.0\.1:([0-9]+) .*/\1/p')
  [ -n "$JOIN_PORT" ] || { echo "netsoak: the relay did not start"; exit 1; }
  head -n 1 "$DIR/relay.txt"
fi
echo "netsoak: server on 127.0.0.1:$PORT, $CLIENTS clients joining on $JOIN_PORT, $RUN_SECONDS s, in $DIR"
# The run's time counts from here: the joins are part of it.
START=$(date +%s)
for i in $(seq "$CLIENTS"); do
  start "client$i" --headless --autopilot "+Set PlayerName Soak$i" "+Connect 127.0.0.1:$JOIN_PORT"
done
for i in $(seq "$CLIENTS"); do
  wait_for "client$i" '^Joined ' 60 > /dev/null || { echo "netsoak: client$i did not join (see $DIR/client$i)"; exit 1; }
done

# Processor time of a program so far, in clock ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
declare -A TICKS0
for name in "${NAMES[@]}"; do TICKS0[$name]=$(ticks "${PID[$name]}"); done
TICKS_FROM=$(date +%s)
: > "$DIR/netsoak.log"
for sample in $(seq $((RUN_SECONDS / SAMPLE_SECONDS))); do
  sleep $((START + sample * SAMPLE_SECONDS - $(date +%s) > 0 ? START + sample * SAMPLE_SECONDS - $(date +%s) : 0))
  for name in "${NAMES[@]}"; do tell "$name" NetStats; done
  sleep 1
  for name in "${NAMES[@]}"; do
    line=$(grep '^NetStats' "$DIR/$name/stdout.txt" | tail -n 1 || true)
    echo "$((sample * SAMPLE_SECONDS)) $name $line" >> "$DIR/netsoak.log"
  done
  grep "^$((sample * SAMPLE_SECONDS)) server " "$DIR/netsoak.log" | cut -d' ' -f2-
done
ELAPSED=$(($(date +%s) - TICKS_FROM))
for name in "${NAMES[@]}"; do
  echo "$name $(( $(ticks "${PID[$name]}") - ${TICKS0[$name]} )) $ELAPSED $(getconf CLK_TCK)" >> "$DIR/cpu.log"
done

# Clients first, so none sees the server go.
for name in "${NAMES[@]:1}" server; do
  tell "$name" Quit
  [ "$name" = client"$CLIENTS" ] && sleep 1
done
for name in "${NAMES[@]}"; do
  code=0
  for _ in $(seq 300); do kill -0 "${PID[$name]}" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "${PID[$name]}" 2>/dev/null; then
    kill -KILL "${PID[$name]}" 2>/dev/null || true
    echo "netsoak: $name did not quit within 30 s" >> "$DIR/$name/stdout.txt"
  fi
  wait "${PID[$name]}" || code=$?
  echo "$code" > "$DIR/$name/exitcode.txt"
done
if [ -n "${PID[relay]:-}" ]; then
  kill -TERM "${PID[relay]}" 2>/dev/null || true
  wait "${PID[relay]}" || true
  tail -n 3 "$DIR/relay.txt"
fi
trap - EXIT
VERDICT=0
python3 "$ROOT/scripts/netsoakverdict.py" "$DIR" "$CLIENTS" || VERDICT=$?
# The copies of Data/ (15 MB each) go; the logs stay.
if [ -z "${NETSOAK_DIR:-}" ]; then
  for name in "${NAMES[@]}"; do rm -rf "${DIR:?}/$name/Data"; done
fi
exit "$VERDICT"
