#!/usr/bin/env bash
# Builds a libFuzzer target (or all of them) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in its own build folder and runs it for a bounded time on its
# seed corpus, tests/fuzz/corpus/TARGET. Needs Debian's clang (with its libFuzzer runtime).
#
# Usage: scripts/fuzz.sh TARGET|all [seconds per target, default 30] [build folder, default build-fuzz]
# The targets are listed in tests/fuzz/CMakeLists.txt. KH_FUZZ_MALLOC_LIMIT_MB bounds a single
# allocation and the memory in use (default 2048).
set -euo pipefail

if [ $# -lt 1 ]; then
  sed -n '6,8p' "$0" >&2
  exit 2
fi
target=$1
seconds=${2:-30}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${3:-$source_dir/build-fuzz}
memory_mb=${KH_FUZZ_MALLOC_LIMIT_MB:-2048}

cmake -S "$source_dir" -B "$build_dir" -G Ninja -Wno-dev \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKH_FUZZ=ON -DKH_SANITIZE=address,undefined,fuzzer-no-link -DKH_BUILD_BENCHMARKS=OFF >/dev/null

if [ "$target" = all ]; then
  mapfile -t targets < "$build_dir/fuzz-targets.txt"
else
  targets=("$target")
fi
cmake --build "$build_dir" -j "$(nproc)" --target "${targets[@]/#/kh_fuzz_}"

for name in "${targets[@]}"; do
  echo "== fuzzing $name for $seconds s"
  # The fuzzer adds what it finds to a working copy; the checked-in seeds stay as they are.
  corpus="$build_dir/corpus/$name"
  mkdir -p "$corpus"
  cp "$source_dir/tests/fuzz/corpus/$name"/* "$corpus"/
  "$build_dir/tests/fuzz/kh_fuzz_$name" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
    -malloc_limit_mb="$memory_mb" -rss_limit_mb="$memory_mb" -print_final_stats=1 \
    -artifact_prefix="$build_dir/$name-" "$corpus"
done
