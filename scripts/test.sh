#!/usr/bin/env bash
# Sets the machine up, builds and runs every test suite: the Linux build, the same under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows build under Wine. Exits
# non-zero if any step fails, after a short summary.
#
# The 32-bit Windows build, the add-in that ships, is always built, and its files are
# checked without Wine. Its tests under Wine need a machine that can start 32-bit programs,
# which not every machine of this kind can: a probe decides. Where it cannot, the Windows
# tests run on the 64-bit build of the same sources under the 64-bit Wine instead.
#
# Usage: scripts/test.sh [--windows=32|--windows=64] [--plan]
#   --windows=32, --windows=64  run the Windows tests on that architecture, whatever the
#                               probe would say
#   --plan                      say which architecture and what would run, and stop
# QM_32BIT_PROBE=<program> probes with that program instead of the built-in one (a file
# that is no program shows the 64-bit path on any machine).
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: scripts/test.sh [--windows=32|--windows=64] [--plan]"
}

windows=auto
plan_only=false
for arg in "$@"; do
  case $arg in
    --windows=32 | --windows=64) windows=${arg#--windows=} ;;
    --plan) plan_only=true ;;
    -h | --help)
      usage
      exit 0
      ;;
    *)
      usage >&2
      exit 2
      ;;
  esac
done

# The smallest 32-bit x86 Linux program, 91 bytes: an ELF header, one loadable segment and
# `xor ebx,ebx; xor eax,eax; inc eax; int 0x80`, which exits with status 0.
write_32bit_probe() {
  local elf='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'  # 32-bit, little-endian
  elf+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'               # executable, i386, entry
  elf+='\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  elf+='\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'  # load the file at 0x8048000
  elf+='\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'  # 91 bytes, read and execute
  elf+='\x31\xdb\x31\xc0\x40\xcd\x80'                                      # exit(0)
  printf '%b' "$elf" >"$1"
  chmod +x "$1"
}

# Succeeds when this machine starts a 32-bit program; otherwise prints what went wrong.
# The probe is written into the build tree, which must allow programs to run anyway
# (a temporary folder may be mounted noexec).
can_run_32bit() {
  local program=${QM_32BIT_PROBE:-} scratch="" output status=0
  if [[ -z $program ]]; then
    mkdir -p build
    scratch=$(mktemp -d build/probe.XXXXXX)
    program=$scratch/exit0-i386
    write_32bit_probe "$program"
  fi
  output=$("$program" 2>&1) || status=$?
  if [[ -n $scratch ]]; then
    rm -rf "$scratch"
  fi
  if ((status == 0)); then
    return 0
  fi
  # The shell's message ends with the system's reason ("Exec format error").
  output=${output##*: }
  echo "${output:-exit status $status}"
  return 1
}

# Sets windows_arch (32 or 64) and windows_reason. Whatever comes after depends on
# windows_arch alone: --windows=64 takes the very path of a machine whose probe fails.
decide_windows_arch() {
  local failure
  case $windows in
    32 | 64)
      windows_arch=$windows
      windows_reason="as asked (--windows=$windows)"
      ;;
    auto)
      if failure=$(can_run_32bit); then
        windows_arch=32
        windows_reason="this machine starts 32-bit programs"
      else
        windows_arch=64
        windows_reason="this machine cannot start 32-bit programs (a 32-bit test program: $failure)"
      fi
      ;;
  esac
}

decide_windows_arch
if [[ $windows_arch == 32 ]]; then
  windows_line="Windows tests: 32-bit (win32 build under wine), $windows_reason"
else
  windows_line="Windows tests: 64-bit (win64 build under wine64), $windows_reason; \
the 32-bit build is built and its files checked without Wine"
fi

# Prints "<test> skipped: <why>" for each test that CTest's log <file> shows skipped with
# its reason: the project's skipped tests print that line themselves, GoogleTest prints
# "<file>:<line>: Skipped" and the reason on the next line.
skip_reasons_in() {
  awk '
    /^[0-9]+\/[0-9]+ Test: / { test = $0; sub(/^[0-9]+\/[0-9]+ Test: /, "", test) }
    /^[^ ]+ skipped: / { print; next }
    gtest_reason { print test " skipped: " $0; gtest_reason = 0; next }
    /: Skipped$/ { gtest_reason = 1 }
  ' "$1"
}

# Suites: what is configured and built (a preset), the build directory where CTest keeps
# its log, and how the tests run.
declare -A build_preset test_dir test_command
suites=()
add_suite() {
  local name=$1 preset=$2 dir=$3
  shift 3
  suites+=("$name")
  build_preset[$name]=$preset
  test_dir[$name]=$dir
  test_command[$name]="$*"
}
add_suite native native build/native ctest --preset native
add_suite asan asan build/asan ctest --preset asan
if [[ $windows_arch == 32 ]]; then
  add_suite win32 win32 build/win32 ctest --preset win32
else
  # Only the tests of tests/release: CTest would run every Windows test program under the
  # 32-bit Wine to list its tests if it read the whole tree.
  add_suite win32-files win32 build/win32/tests/release \
    ctest --test-dir build/win32/tests/release --output-on-failure --no-tests=error
  add_suite win64 win64 build/win64 ctest --preset win64
fi

echo "$windows_line"
if $plan_only; then
  echo "setup: scripts/setup.sh --windows=$windows_arch --with-browser"
  for suite in "${suites[@]}"; do
    echo "$suite: cmake --preset ${build_preset[$suite]}; cmake --build --preset ${build_preset[$suite]}; ${test_command[$suite]}"
  done
  exit 0
fi

started=$SECONDS
failed=false
declare -A build_outcome build_seconds outcome passed failures skipped seconds
presets=()

scripts/setup.sh --windows="$windows_arch" --with-browser

for suite in "${suites[@]}"; do
  preset=${build_preset[$suite]}
  if [[ -n ${build_outcome[$preset]:-} ]]; then
    continue
  fi
  presets+=("$preset")
  build_started=$SECONDS
  if ! cmake --preset "$preset"; then
    build_outcome[$preset]="configure failed"
  elif ! cmake --build --preset "$preset"; then
    build_outcome[$preset]="build failed"
  else
    build_outcome[$preset]=ok
  fi
  build_seconds[$preset]=$((SECONDS - build_started))
done

skip_reasons=()
for suite in "${suites[@]}"; do
  preset=${build_preset[$suite]}
  if [[ ${build_outcome[$preset]} != ok ]]; then
    outcome[$suite]=${build_outcome[$preset]}
    failed=true
    continue
  fi
  log="build/$suite-tests.log"
  suite_started=$SECONDS
  # shellcheck disable=SC2086 # the command is words
  if ${test_command[$suite]} 2>&1 | tee "$log"; then
    outcome[$suite]="ok"
  else
    outcome[$suite]="tests failed"
    failed=true
  fi
  seconds[$suite]=$((SECONDS - suite_started))
  # CTest closes with "NN% tests passed, F tests failed out of T", then lists the tests
  # that did not run, skipped ones marked "(Skipped)"; it counts those as passed.
  if read -r failures_here total < <(sed -nE 's/.* tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/p' "$log" | tail -n 1); then
    skipped[$suite]=$(grep -c '(Skipped)$' "$log" || true)
    failures[$suite]=$failures_here
    passed[$suite]=$((total - failures_here - skipped[$suite]))
  fi
  ctest_log=${test_dir[$suite]}/Testing/Temporary/LastTest.log
  if [[ -f $ctest_log ]]; then
    while IFS= read -r line; do
      skip_reasons+=("$suite: $line")
    done < <(skip_reasons_in "$ctest_log")
  fi
done

elapsed=$((SECONDS - started))
total_passed=0
total_skipped=0
total_failed=0
echo
echo "== Summary ($((elapsed / 60)) min $((elapsed % 60)) s)"
echo "$windows_line"
for preset in "${presets[@]}"; do
  echo "build $preset: ${build_seconds[$preset]} s"
done
for suite in "${suites[@]}"; do
  if [[ -n ${passed[$suite]:-} ]]; then
    echo "$suite: ${passed[$suite]} passed, ${skipped[$suite]} skipped, ${failures[$suite]} failed (${seconds[$suite]} s)"
    total_passed=$((total_passed + passed[$suite]))
    total_skipped=$((total_skipped + skipped[$suite]))
    total_failed=$((total_failed + failures[$suite]))
  fi
  if [[ ${outcome[$suite]} != ok ]]; then
    echo "$suite: ${outcome[$suite]}"
  fi
done
for line in "${skip_reasons[@]}"; do
  echo "  $line"
done
echo "total: $total_passed passed, $total_skipped skipped, $total_failed failed"

if $failed; then
  exit 1
fi
