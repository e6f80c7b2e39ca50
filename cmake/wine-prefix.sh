#!/usr/bin/env bash
# Prepares and stops the Wine prefix in which the Windows tests of one build tree run.
# Usage: wine-prefix.sh start|start-for-listing|stop, with WINEPREFIX set (WINE and
# WINESERVER may name the programs, WINEARCH the architecture: win32, the default, or win64).
#
# `start` creates a prefix of that architecture once (kept and reused while it is valid),
# starts a persistent wine server and boots the prefix. `start-for-listing` does the same
# with a server that ends by itself a minute after its last program: CTest lists the tests
# in the Windows programs before it runs any, and may run none (ctest -N).
# Every Wine process started here has all of its streams redirected: the server and its
# helper processes outlive this script, and would otherwise hold CTest's output pipes
# open, making every test wait for them.
set -euo pipefail

: "${WINEPREFIX:?WINEPREFIX must name the prefix of the build tree}"
WINE=${WINE:-wine}
WINESERVER=${WINESERVER:-wineserver}
WINEARCH=${WINEARCH:-win32}
case $WINEARCH in
  win32 | win64) ;;
  *)
    echo "wine-prefix.sh: WINEARCH must be win32 or win64, not $WINEARCH" >&2
    exit 2
    ;;
esac
export WINEPREFIX WINEARCH
export WINEDEBUG=-all

log="${WINEPREFIX%/}.log"
ready_mark="$WINEPREFIX/.qm-ready"
brief_mark="$WINEPREFIX/.qm-brief-server"

server_running() {
  # Signal 0 only asks whether the prefix's server is alive.
  "$WINESERVER" -k0 </dev/null >/dev/null 2>&1
}

prefix_valid() {
  # The registry files appear once the server has saved them; the mark once creation
  # finished. A prefix missing either was interrupted while being made; one of the other
  # architecture was made by an older build.
  [[ -f $ready_mark && -f $WINEPREFIX/system.reg ]] && grep -q "^#arch=$WINEARCH\$" "$WINEPREFIX/system.reg"
}

run_quietly() {
  "$@" </dev/null >>"$log" 2>&1
}

fail() {
  echo "wine-prefix.sh: $1 (log: $log)" >&2
  tail -n 20 "$log" >&2 || true
  exit 1
}

stop_server() {
  if server_running; then
    run_quietly "$WINESERVER" -k || true
    run_quietly "$WINESERVER" -w || true
  fi
}

# start [<server lifetime option>]
start() {
  local lifetime=${1:--p}
  if server_running; then
    # A server started by an earlier call. One that ends by itself is replaced when a
    # persistent one is wanted; one on a prefix never finished is not trusted.
    if [[ -f $ready_mark && ($lifetime != -p || ! -f $brief_mark) ]]; then
      return 0
    fi
    stop_server
  fi
  rm -f "$brief_mark"

  : >"$log"
  local fresh=false
  if ! prefix_valid; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    fresh=true
  fi

  # WINEARCH only matters when the prefix is created.
  run_quietly "$WINESERVER" "$lifetime" || fail "cannot start the wine server"
  if [[ $lifetime != -p ]]; then
    touch "$brief_mark"
  fi
  if $fresh; then
    run_quietly "$WINE" wineboot -i || fail "cannot create the prefix $WINEPREFIX"
    touch "$ready_mark"
  else
    run_quietly "$WINE" wineboot || fail "cannot boot the prefix $WINEPREFIX"
  fi
}

case "${1:-}" in
  start) start -p ;;
  start-for-listing) start -p60 ;;
  stop) stop_server ;;
  *)
    echo "usage: $0 start|start-for-listing|stop" >&2
    exit 2
    ;;
esac
