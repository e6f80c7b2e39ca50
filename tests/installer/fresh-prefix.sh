#!/usr/bin/env bash
# Runs a Windows test program under Wine in a fresh copy of the clean template prefix, so
# that every installer test starts on a machine where the add-in never was. CTest starts
# the installer tests through it (it is their program's emulator).
# Usage: fresh-prefix.sh <template> <work prefix> <build-tree prefix> <wine> <wineserver>
#                        <program> [arguments...]
# Listing the tests (--gtest_list_tests), which CTest does before any test or fixture runs,
# needs no fresh machine: it runs in the build tree's prefix, like the other programs'.
set -euo pipefail

if (($# < 6)); then
  echo "usage: $0 <template> <work prefix> <build-tree prefix> <wine> <wineserver> <program> [arguments...]" >&2
  exit 2
fi
template=$1 work=$2 listing_prefix=$3 wine=$4 wineserver=$5
shift 5
export WINEDEBUG=-all

if [[ " $* " == *" --gtest_list_tests "* ]]; then
  WINEPREFIX=$listing_prefix exec "$wine" "$@"
fi

if [[ ! -f $template/.qm-ready || ! -f $template/system.reg ]]; then
  echo "fresh-prefix.sh: no template prefix in $template (the test installer.prefix_template makes it)" >&2
  exit 1
fi

export WINEPREFIX=$work
# Every stream of the wine server and its helpers redirected: they would otherwise hold
# CTest's output pipes open after the test.
stop_server() {
  "$wineserver" -k </dev/null >/dev/null 2>&1 || true
  "$wineserver" -w </dev/null >/dev/null 2>&1 || true
}
stop_server
rm -rf "$work"
cp -a "$template" "$work"
trap stop_server EXIT
"$wineserver" -p </dev/null >/dev/null 2>&1
"$wine" wineboot </dev/null >/dev/null 2>&1

status=0
"$wine" "$@" || status=$?
stop_server
trap - EXIT
if ((status == 0)); then
  rm -rf "$work"
else
  echo "fresh-prefix.sh: the failed test's prefix is kept in $work" >&2
fi
exit "$status"
