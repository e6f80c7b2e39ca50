#!/usr/bin/env bash
# scripts/test.sh chooses where the Windows tests run by starting a 32-bit program. A
# machine where that fails must take the path --windows=64 takes, step for step, and one
# where it works the path --windows=32 takes; each says which and why.
# Usage: test_plan_test.sh <scripts/test.sh>
set -euo pipefail

script=${1:?usage: test_plan_test.sh <scripts/test.sh>}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0

# The start of a program for another machine (ARM): the system refuses it with "Exec
# format error", as a machine without 32-bit support refuses a 32-bit program.
printf '%b' '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x28\x00' >"$scratch/foreign"
chmod +x "$scratch/foreign"

plan() {
  bash "$script" --plan "$@"
}
expect() {
  local what=$1 text=$2 wanted=$3
  if [[ $text != *"$wanted"* ]]; then
    echo "FAIL: $what: wanted '$wanted' in:" >&2
    echo "$text" >&2
    status=1
  fi
}
same_steps() {
  local what=$1 a=$2 b=$3
  if [[ $(tail -n +2 <<<"$a") != "$(tail -n +2 <<<"$b")" ]]; then
    echo "FAIL: $what: the steps differ:" >&2
    diff <(tail -n +2 <<<"$a") <(tail -n +2 <<<"$b") >&2 || true
    status=1
  fi
}

refused=$(QM_32BIT_PROBE=$scratch/foreign plan)
forced64=$(QM_32BIT_PROBE=$scratch/foreign plan --windows=64)
started=$(QM_32BIT_PROBE=/bin/true plan)
forced32=$(QM_32BIT_PROBE=$scratch/foreign plan --windows=32)

expect "probe refused" "$(head -n 1 <<<"$refused")" "Windows tests: 64-bit"
expect "probe refused" "$(head -n 1 <<<"$refused")" "cannot start 32-bit programs"
expect "probe refused" "$(head -n 1 <<<"$refused")" "Exec format error"
expect "forced 64-bit" "$(head -n 1 <<<"$forced64")" "Windows tests: 64-bit"
expect "forced 64-bit" "$(head -n 1 <<<"$forced64")" "--windows=64"
same_steps "probe refused vs --windows=64" "$refused" "$forced64"
expect "64-bit path" "$refused" "setup.sh --windows=64"
expect "64-bit path" "$refused" "ctest --preset win64"
expect "64-bit path" "$refused" "cmake --build --preset win32"
expect "64-bit path" "$refused" "--test-dir build/win32/tests/release"

expect "probe ran" "$(head -n 1 <<<"$started")" "Windows tests: 32-bit"
expect "probe ran" "$(head -n 1 <<<"$started")" "starts 32-bit programs"
expect "forced 32-bit" "$(head -n 1 <<<"$forced32")" "--windows=32"
same_steps "probe ran vs --windows=32" "$started" "$forced32"
expect "32-bit path" "$started" "ctest --preset win32"
if [[ $started == *win64* ]]; then
  echo "FAIL: the 32-bit path builds the 64-bit build" >&2
  status=1
fi
for path in "$refused" "$started"; do
  expect "both paths" "$path" "ctest --preset native"
  expect "both paths" "$path" "ctest --preset asan"
done

if ! bash "$script" --windows=16 --plan >/dev/null 2>&1; then
  :
else
  echo "FAIL: --windows=16 accepted" >&2
  status=1
fi
exit $status
