#!/usr/bin/env bash
# Builds the Linux version and plays the guided tour: the add-in driven through the
# simulated spreadsheet host by the scenario runner. Arguments go to the runner.
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
# The tour saves a picture: it runs in a scratch folder of the build tree.
mkdir -p build/demo
cd build/demo
exec "../../$runner" "../../$tour" "$@"
