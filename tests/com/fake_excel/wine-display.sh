#!/usr/bin/env bash
# Lets the test prefix's Windows programs show windows without an X display: with no
# DISPLAY, Wine's null display driver; and gives their frames Windows XP's sizes.
# Message boxes and windows of the add-in DLL must exist for the tests to answer them as
# a user would. Wine's desktop process picks its driver when it starts, so the prefix is
# restarted when the driver setting changes.
# Usage: wine-display.sh <prefix script>, with WINEPREFIX set (WINE, WINESERVER optional).
set -euo pipefail

: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
prefix_script=${1:?usage: wine-display.sh <wine-prefix.sh>}
WINE=${WINE:-wine}
WINESERVER=${WINESERVER:-wineserver}
export WINEPREFIX WINEDEBUG=-all

# The frames of Windows XP's default theme (a caption of 26 pixels, a tool window's of
# 19): the add-in's windows are laid out for those, and the scenarios check their sizes.
metrics='HKCU\Control Panel\Desktop\WindowMetrics'
"$WINE" reg add "$metrics" /v CaptionHeight /d 25 /f </dev/null >/dev/null 2>&1
"$WINE" reg add "$metrics" /v SmCaptionHeight /d 18 /f </dev/null >/dev/null 2>&1

if [[ -n ${DISPLAY:-} ]]; then
  exit 0
fi

key='HKCU\Software\Wine\Drivers'
answer=$(mktemp)
trap 'rm -f "$answer"' EXIT
"$WINE" reg query "$key" /v Graphics </dev/null >"$answer" 2>/dev/null || true
if grep -q 'REG_SZ[[:space:]]*null' "$answer"; then
  exit 0
fi
"$WINE" reg add "$key" /v Graphics /d null /f </dev/null >/dev/null 2>&1
"$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
"$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
bash "$prefix_script" start
