#!/usr/bin/env bash
# Builds the MIDI file fuzzer with clang, AddressSanitizer and UndefinedBehaviorSanitizer in its
# own build folder and runs it for a bounded time on the seed corpus of MIDI files the tests wrote.
# Needs Debian's clang (with its libFuzzer runtime).
#
# Usage: scripts/fuzz-midi.sh [seconds, default 60] [build folder, default build-fuzz]
set -euo pipefail

seconds=${1:-60}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${2:-$source_dir/build-fuzz}

cmake -S "$source_dir" -B "$build_dir" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKH_FUZZ=ON -DKH_SANITIZE=address,undefined,fuzzer-no-link -DKH_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build_dir" --target kh_fuzz_midi -j2

# The fuzzer adds what it finds to a working copy; the checked-in seeds stay as they are.
corpus="$build_dir/midi-corpus"
mkdir -p "$corpus"
cp "$source_dir"/tests/tools/fuzz/corpus/* "$corpus"/
"$build_dir/tests/tools/fuzz/kh_fuzz_midi" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 "$corpus"
