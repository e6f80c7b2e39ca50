#!/usr/bin/env bash
# Builds the Linux version and plays the guided tour: the add-in driven through the
# simulated spreadsheet host by the scenario runner. Prints the tour's transcript and
# writes it as two pages of pictures, as on an English and on a Japanese system.
# Arguments go to the runner.
set -euo pipefail
cd "$(dirname "$0")/.."

tour=scenarios/tour.qms
runner=build/native/cli/quillmark

if [[ ! -f $tour ]]; then
  echo "demo.sh: the tour scenario $tour does not exist yet" >&2
  exit 1
fi

scripts/setup.sh --native-only
cmake --preset native
cmake --build --preset native

if [[ ! -x $runner ]]; then
  echo "demo.sh: the build made no scenario runner $runner (is cli/ finished?)" >&2
  exit 1
fi
# The tour saves a picture: it runs in a scratch folder of the build tree. The Japanese
# run's transcript goes to a file; its page shows it.
mkdir -p build/demo
cd build/demo
status=0
"../../$runner" --html tour.html "../../$tour" "$@" || status=$?
"../../$runner" --locale Japan --html tour-ja.html "../../$tour" "$@" >tour-ja.txt || status=$?
echo
echo "The tour as pictures, step by step: self-contained pages, to open in any web browser (xdg-open FILE):"
echo "  $PWD/tour.html"
echo "  $PWD/tour-ja.html  (on a Japanese system)"
exit $status
