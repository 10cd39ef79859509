#!/usr/bin/env bash
# Sets everything up, then builds and runs the suite three times, and checks the
# sources:
#   0. every product source compiles for macOS, arm64 and x86_64
#      (scripts/mac-compile-check.sh, objects in build-mac/),
#   1. the whole suite in a normal build (build/), the fault soak included,
#   2. the same suite but the soak in a Release build (build-release/),
#   3. the unit, integration and fuzz tests in a clang build with
#      AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/),
#   4. clang-format and clang-tidy over the tree (scripts/static-checks.sh),
#      run before the sanitizer suite so the output ends with its summary.
# Any failing or skipped test, sanitizer report or static finding fails the
# command.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

bash scripts/setup.sh

step() { echo "== $1 (at $((SECONDS / 60))m$((SECONDS % 60))s)"; }

# A skipped (GTEST_SKIP) or disabled case checks nothing, so it fails the
# suite like a failing one. CTest's JUnit report marks both.
ran_everything() {
  local report=$1 left
  if [ ! -s "$report" ]; then
    echo "test: CTest wrote no report at $report"
    return 1
  fi
  left=$(grep -c 'status="\(notrun\|disabled\)"' "$report" || true)
  if [ "$left" -ne 0 ]; then
    echo "test: $left test(s) did not run (skipped or disabled):"
    grep -o '<testcase name="[^"]*"[^>]*status="\(notrun\|disabled\)"' "$report" |
      sed 's/<testcase name="\([^"]*\)".*/  \1/'
    return 1
  fi
}

step "macOS compile check (arm64, x86_64)"
mac_failed=0
bash scripts/mac-compile-check.sh build-mac || mac_failed=1

step "normal build"
cmake -S "$root" -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
rm -f build/ctest-junit.xml build-asan/ctest-junit.xml
(cd build && ctest --output-on-failure -j "$jobs" --timeout 600 --output-junit ctest-junit.xml) ||
  normal_failed=1
ran_everything build/ctest-junit.xml || normal_failed=1

# A Release build makes a much smaller demo client and package than the
# normal one: the suite, the soak aside, must pass with both.
step "release build"
cmake -S "$root" -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVANE_BENCH=OFF >/dev/null
cmake --build build-release -j "$jobs"
rm -f build-release/ctest-junit.xml
release_failed=0
(cd build-release && ctest --output-on-failure -j "$jobs" --timeout 600 -L 'unit|integration|e2e' \
  --output-junit ctest-junit.xml) || release_failed=1
ran_everything build-release/ctest-junit.xml || release_failed=1

step "sanitizer build (ASan + UBSan, with fuzz targets)"
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B build-asan -G Ninja \
  -DCMAKE_BUILD_TYPE=Debug -DKORVANE_SANITIZE=ON -DKORVANE_FUZZ=ON -DKORVANE_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"

# The static checks need both compile databases (the fuzz targets are only in
# the sanitizer build); they run before the last suite so that the command
# ends with CTest's summary.
step "static checks"
static_failed=0
bash scripts/static-checks.sh build build-asan || static_failed=1

step "sanitizer suite"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:halt_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
asan_failed=0
(cd build-asan && ctest --output-on-failure -j "$jobs" --timeout 900 -L 'unit|integration|fuzz' \
  --output-junit ctest-junit.xml) || asan_failed=1
ran_everything build-asan/ctest-junit.xml || asan_failed=1

if [ "${normal_failed:-0}" -ne 0 ] || [ "$release_failed" -ne 0 ] || [ "$asan_failed" -ne 0 ] ||
   [ "$static_failed" -ne 0 ] || [ "$mac_failed" -ne 0 ]; then
  echo "test: FAILED (macOS compile check: $mac_failed, normal build: ${normal_failed:-0}, release build: $release_failed, sanitizer build: $asan_failed, static checks: $static_failed)"
  exit 1
fi
