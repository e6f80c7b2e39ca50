#!/usr/bin/env bash
# Makes the clean prefix that every installer test starts from a copy of: a 32-bit prefix
# made and booted as the build tree's own (cmake/wine-prefix.sh), set to Wine's null display
# driver so that the uninstaller's pages and message boxes exist without an X display, and
# left with its wine server stopped, so that its registry is complete on disk.
# Usage: prepare-template.sh <wine-prefix.sh>, with WINEPREFIX naming the template (WINE
# and WINESERVER may name the programs).
set -euo pipefail

prefix_script=${1:?usage: prepare-template.sh <wine-prefix.sh>}
: "${WINEPREFIX:?WINEPREFIX must name the template prefix}"
WINE=${WINE:-wine}
export WINEPREFIX WINEDEBUG=-all

bash "$prefix_script" start
# Every stream redirected: the wine server outlives this command and must not hold CTest's.
"$WINE" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
bash "$prefix_script" stop
