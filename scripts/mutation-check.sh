#!/usr/bin/env bash
# Do the test suites notice a plausible bug? Applies one mutant (a one-line change to a file of
# src/ or tools/) at a time, rebuilds the test programs in a configured build folder, runs the
# suites and says whether any test failed (killed) or all passed (SURVIVED). A mutant whose text
# is missing or occurs more than once, or whose build fails, is "invalid".
#
#   scripts/mutation-check.sh BUILD_DIR tests/mutants/core.txt [more lists...]
#
# A list has one mutant per line, fields separated by " | ":
#   id | path from the source root | exact text (once in the file) | replacement | description
# Blank lines and lines starting with # are skipped. "\|" in a field stands for a literal "|".
#
# The source root is the one BUILD_DIR was configured from. Every file is restored exactly after
# each mutant, and on any exit or interruption. Environment:
#   MUTATION_TARGETS  ninja targets to rebuild: the test programs of the suites that judge the
#                     mutants. Default: those named on the lists' "# targets: ..." lines, or
#                     every target when no list names any. Suites left unbuilt are not run.
#   MUTATION_EXCLUDE  ctest -E regex of cases left out (default: SampleReplacementStress, which
#                     replaces samples for a fixed time and checks no result a mutant can change)
#   MUTATION_JOBS     parallel build and test jobs (default 2)
#   MUTATION_TIMEOUT  seconds a single test may take before it counts as failed (default 120)
set -u

if [ $# -lt 2 ]; then
  sed -n '2,21p' "$0" | sed 's/^# \{0,1\}//'
  exit 2
fi
build=$(cd "$1" && pwd) || exit 2
shift
lists=()
for list in "$@"; do
  lists+=("$(cd "$(dirname "$list")" && pwd)/$(basename "$list")") || exit 2
done
source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
[ -d "$source_dir" ] || { echo "mutation-check: $build is not a configured build folder" >&2; exit 2; }

jobs=${MUTATION_JOBS:-2}
timeout=${MUTATION_TIMEOUT:-120}
exclude=${MUTATION_EXCLUDE-SampleReplacementStress}
# A program not built this time is listed by CTest as a *_NOT_BUILT test that fails.
exclude="NOT_BUILT${exclude:+|$exclude}"
named=${MUTATION_TARGETS:-$(sed -n 's/^# targets://p' "${lists[@]}" | tr '\n' ' ')}
read -r -a targets <<< "$named"
export CCACHE_DIR=${CCACHE_DIR:-/work/.ccache} CCACHE_BASEDIR=${CCACHE_BASEDIR:-/work}

backup=$(mktemp -d)
mutated=""
# The original content comes back with a new time stamp, so that the build compiles it again.
restore() {
  if [ -n "$mutated" ]; then
    cp "$backup/original" "$source_dir/$mutated"
    mutated=""
  fi
}
trap 'restore; rm -rf "$backup"' EXIT
trap 'exit 130' INT TERM HUP

build_tests() { ninja -C "$build" -j "$jobs" "${targets[@]}" > "$backup/build.log" 2>&1; }
run_tests() {
  (cd "$build" && ctest -j "$jobs" --stop-on-failure --timeout "$timeout" -E "$exclude" \
     > "$backup/test.log" 2>&1)
}

echo "mutation-check: building the unmutated tree in $build"
if ! build_tests; then tail -30 "$backup/build.log"; echo "mutation-check: the unmutated build fails" >&2; exit 1; fi
if ! run_tests; then
  grep -E 'Failed|\*\*\*' "$backup/test.log" | head -20
  echo "mutation-check: the suites fail without any mutant" >&2
  exit 1
fi

# One field of a list line, trimmed, with "\|" turned into "|".
field() { local f="$1"; f="${f#"${f%%[![:space:]]*}"}"; f="${f%"${f##*[![:space:]]}"}"; printf '%s' "${f//\\|/|}"; }

killed=0 survived=0 invalid=0 rows=()
for list in "${lists[@]}"; do
  while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in ''|'#'*) continue ;; esac
    IFS=$'\x1f' read -r -a parts <<< "$(printf '%s' "$line" | sed 's/\\|/\x1e/g; s/ | /\x1f/g; s/\x1e/\\|/g')"
    if [ "${#parts[@]}" -ne 5 ]; then
      echo "mutation-check: not five fields in $(basename "$list"): $line" >&2
      invalid=$((invalid + 1)); rows+=("?	invalid	malformed line"); continue
    fi
    id=$(field "${parts[0]}") path=$(field "${parts[1]}") from=$(field "${parts[2]}")
    to=$(field "${parts[3]}") what=$(field "${parts[4]}")
    file="$source_dir/$path"
    status=invalid
    occurrences=0
    [ -f "$file" ] && occurrences=$(FROM="$from" perl -0777 -ne 'print scalar(() = /\Q$ENV{FROM}\E/g)' "$file")
    if [[ "$path" == src/* || "$path" == tools/* ]] && [ "$occurrences" = 1 ]; then
      cp -p "$file" "$backup/original"
      mutated=$path
      FROM="$from" TO="$to" perl -0777 -pi -e 's/\Q$ENV{FROM}\E/$ENV{TO}/' "$file"
      if cmp -s "$file" "$backup/original"; then
        status=invalid
      elif ! build_tests; then
        status=invalid
      elif run_tests; then
        status=SURVIVED
      else
        status=killed
      fi
      restore
    fi
    case $status in killed) killed=$((killed + 1)) ;; SURVIVED) survived=$((survived + 1)) ;; *) invalid=$((invalid + 1)) ;; esac
    rows+=("$id	$status	$what")
    printf '%-24s %-9s %s\n' "$id" "$status" "$what"
  done < "$list"
done

# Rebuild what the last mutant left behind, so the build folder matches the sources again.
build_tests || true

echo
echo "id                       result    description"
for row in "${rows[@]}"; do
  IFS=$'\t' read -r id status what <<< "$row"
  printf '%-24s %-9s %s\n' "$id" "$status" "$what"
done
echo
echo "mutants: $((killed + survived + invalid))  killed: $killed  SURVIVED: $survived  invalid: $invalid"
[ "$survived" -eq 0 ]
