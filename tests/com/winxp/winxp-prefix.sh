#!/usr/bin/env bash
# The Wine prefix in which the add-in DLL's tests run once more with Wine telling programs
# that it is Windows XP, what Excel 2003's users ran: winecfg's Windows version setting
# (HKCU\Software\Wine, Version = winxp), windows as in the build tree's test prefix
# (wine-display.sh). `start` checks that Windows programs then see version 5.1.
# Usage: winxp-prefix.sh start|stop <wine-prefix.sh> <wine-display.sh>, with WINEPREFIX set
# (WINE, WINESERVER and WINEARCH as for wine-prefix.sh).
set -euo pipefail

: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
action=${1:?usage: winxp-prefix.sh start|stop <wine-prefix.sh> <wine-display.sh>}
prefix_script=${2:?wine-prefix.sh}
display_script=${3:?wine-display.sh}
WINE=${WINE:-wine}
export WINEPREFIX WINEDEBUG=-all

if [[ $action == stop ]]; then
  exec bash "$prefix_script" stop
fi

bash "$prefix_script" start
# Every stream redirected: the wine server outlives this script and must not hold CTest's.
"$WINE" reg add 'HKCU\Software\Wine' /v Version /d winxp /f </dev/null >/dev/null 2>&1
bash "$display_script" "$prefix_script"

answer="$WINEPREFIX.ver"
"$WINE" cmd /c ver </dev/null >"$answer" 2>/dev/null || true
version=$(tr -d '\r' <"$answer" | grep -m1 . || true)
rm -f "$answer"
if [[ $version != *" 5.1."* ]]; then
  echo "winxp-prefix.sh: Wine does not say Windows XP in $WINEPREFIX: '$version'" >&2
  exit 1
fi
echo "$WINEPREFIX: $version"
