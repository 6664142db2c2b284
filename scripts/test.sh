#!/usr/bin/env bash
# Builds Kestrelhollow several ways and runs the tests of each: with the address and
# undefined-behaviour sanitizers (every suite), with the thread sanitizer (the suites that
# run threads against each other), each fuzz target for half a minute, and the plain build
# (every suite, last, so its summary closes the output).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh

jobs=$(nproc)
configure_and_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -Wno-dev "$@" > /dev/null
  cmake --build "$dir" -j "$jobs"
}

echo "== address and undefined-behaviour sanitizers"
configure_and_build build-asan -DKH_SANITIZE=address,undefined -DKH_BUILD_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== thread sanitizer"
cmake -S . -B build-tsan -G Ninja -Wno-dev -DKH_SANITIZE=thread -DKH_BUILD_BENCHMARKS=OFF > /dev/null
cmake --build build-tsan -j "$jobs" --target kh_concurrency_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L concurrency --no-tests=ignore

echo "== fuzz targets"
# Each target runs KH_FUZZ_SECONDS (30 by default; longer runs for a deeper search). Their
# running commentary goes to a log; the closing statistics, or on failure the end of the log,
# are shown.
if scripts/fuzz.sh all "${KH_FUZZ_SECONDS:-30}" build-fuzz > build-fuzz.log 2>&1; then
  grep -E "^(== fuzzing|Done|stat::)" build-fuzz.log
else
  tail -n 60 build-fuzz.log
  exit 1
fi

echo "== MIDI-file fuzzer"
if scripts/fuzz-midi.sh 60 build-fuzz > build-fuzz-midi.log 2>&1; then
  grep -E "^(Done|stat::)" build-fuzz-midi.log
else
  tail -n 60 build-fuzz-midi.log
  exit 1
fi

echo "== plain build"
configure_and_build build
ctest --test-dir build --output-on-failure -j "$jobs"
