#!/usr/bin/env bash
# Builds Kestrelhollow several ways and runs the tests of each: with the address and
# undefined-behaviour sanitizers (every suite), a release build at -O3 (every suite), with the
# thread sanitizer (the suites that run threads against each other), each fuzz target for half
# a minute, the sources' layout against .clang-format and the plain build (every suite, the
# naming check among them), and last the host test, in which Ardour plays the plain build's
# bundle. Every build treats warnings as errors.
#   scripts/test.sh             every stage, in the order below (what CI runs)
#   scripts/test.sh STAGE...    only those: asan release tsan fuzz windows plain ardour
# The comparison of Linux and Windows renders runs when both windows and plain do.
set -euo pipefail
cd "$(dirname "$0")/.."

all_stages=(asan release tsan fuzz windows plain ardour)
stages=("$@")
[ $# -gt 0 ] || stages=("${all_stages[@]}")
for stage in "${stages[@]}"; do
  if [[ " ${all_stages[*]} " != *" $stage "* ]]; then
    echo "unknown stage: $stage (the stages: ${all_stages[*]})" >&2
    exit 2
  fi
done
selected() {
  [[ " ${stages[*]} " == *" $1 "* ]]
}

# The CI machine gets Ardour for the host test; elsewhere the host test is skipped without it.
if [ "${CI:-}" = true ]; then
  scripts/install-packages.sh --ardour
else
  scripts/install-packages.sh
fi

jobs=$(nproc)
warnings_are_errors=-DKH_WARNINGS_AS_ERRORS=ON
configure_and_build() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -Wno-dev "$warnings_are_errors" "$@" > /dev/null
  cmake --build "$dir" -j "$jobs"
}

if selected asan; then
  echo "== address and undefined-behaviour sanitizers"
  configure_and_build build-asan -DKH_SANITIZE=address,undefined -DKH_BUILD_BENCHMARKS=OFF
  ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
fi

if selected release; then
  echo "== release build (-O3)"
  # What a user gets from -DCMAKE_BUILD_TYPE=Release; the optimiser finds warnings the other builds do not.
  configure_and_build build-release -DCMAKE_BUILD_TYPE=Release -DKH_BUILD_BENCHMARKS=OFF
  ctest --test-dir build-release --output-on-failure -j "$jobs"
fi

if selected tsan; then
  echo "== thread sanitizer"
  cmake -S . -B build-tsan -G Ninja -Wno-dev "$warnings_are_errors" -DKH_SANITIZE=thread -DKH_BUILD_BENCHMARKS=OFF > /dev/null
  cmake --build build-tsan -j "$jobs" --target kh_concurrency_tests
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L concurrency --no-tests=ignore
fi

if selected fuzz; then
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
fi

windows_built=false
if selected windows; then
  echo "== Windows"
  # Cross-built with MinGW-w64; the suites run under Wine. CI always runs it (the script installs
  # what it needs); elsewhere it needs wine64 already installed.
  if [ -n "${CI:-}" ] || command -v wine64 > /dev/null || [ -x /usr/lib/wine/wine64 ]; then
    scripts/build-windows.sh --test
    windows_built=true
  else
    echo "NOTICE: wine64 is not installed; the Windows build and its tests are skipped."
  fi
fi

if selected plain; then
  echo "== layout of the sources (.clang-format)"
  git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
  echo "== plain build"
  configure_and_build build
  ctest --test-dir build --output-on-failure -j "$jobs"
  if $windows_built; then
    echo "== Windows: the same scenes rendered on Linux and under Wine"
    scripts/compare-windows-renders.sh
  fi
fi

if selected ardour; then
  echo "== host test: Ardour plays the bundle"
  selected plain || configure_and_build build
  tests/ardour/run.sh build
fi
