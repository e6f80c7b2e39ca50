#!/usr/bin/env bash
# Sets the machine up, builds the Linux and the Windows build, and runs both test suites
# (the Windows one under Wine). Exits non-zero if any step fails, after a short summary.
set -euo pipefail
cd "$(dirname "$0")/.."

presets=(native win32)
started=$SECONDS
failed=false
declare -A outcome passed failures

scripts/setup.sh --with-browser

for preset in "${presets[@]}"; do
  if ! cmake --preset "$preset"; then
    outcome[$preset]="configure failed"
  elif ! cmake --build --preset "$preset"; then
    outcome[$preset]="build failed"
  fi
done

for preset in "${presets[@]}"; do
  if [[ -n ${outcome[$preset]:-} ]]; then
    failed=true
    continue
  fi
  log="build/$preset-tests.log"
  if ctest --preset "$preset" 2>&1 | tee "$log"; then
    outcome[$preset]="ok"
  else
    outcome[$preset]="tests failed"
    failed=true
  fi
  # CTest closes with "NN% tests passed, F tests failed out of T".
  if read -r failures_here total < <(sed -nE 's/.* tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/p' "$log" | tail -n 1); then
    failures[$preset]=$failures_here
    passed[$preset]=$((total - failures_here))
  fi
done

elapsed=$((SECONDS - started))
total_passed=0
total_failed=0
echo
echo "== Summary ($((elapsed / 60)) min $((elapsed % 60)) s)"
for preset in "${presets[@]}"; do
  if [[ -n ${passed[$preset]:-} ]]; then
    echo "$preset: ${passed[$preset]} passed, ${failures[$preset]} failed"
    total_passed=$((total_passed + passed[$preset]))
    total_failed=$((total_failed + failures[$preset]))
  fi
  if [[ ${outcome[$preset]} != ok ]]; then
    echo "$preset: ${outcome[$preset]}"
  fi
done
echo "total: $total_passed passed, $total_failed failed"

if $failed; then
  exit 1
fi
