#!/usr/bin/env bash
# A match over a bad link: a dedicated server and two headless autopilot
# clients joined through scripts/netrelay.py (100 ms +- 20 ms each way,
# 5 % lost each way) for SECONDS (60 by hand, 30 in CI). Judged as
# scripts/netsoak.sh judges: no disconnect, every kill shown once on each
# client, a clean quit everywhere; the relay's counts close the log.
#
#   scripts/netlink.sh [SECONDS]
set -euo pipefail
SECONDS_WANTED=${1:-60}
[[ $SECONDS_WANTED =~ ^[1-9][0-9]*$ && $SECONDS_WANTED -ge 10 ]] || { echo "netlink: SECONDS >= 10"; exit 2; }
NETSOAK_RELAY=1 NETSOAK_SECONDS=$SECONDS_WANTED exec "$(dirname "$0")/netsoak.sh" 1 2
