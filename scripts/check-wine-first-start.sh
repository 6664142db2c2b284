#!/usr/bin/env bash
# Checks that Windows programs the build starts together under Wine survive the prefix's first
# start: ROUNDS times (default 10), deletes the build's Wine prefix and the generators' outputs
# (the factory kit and the default preset) and builds them again, two at a time, so that both
# generators start in a prefix that does not exist yet. Needs a finished scripts/build-windows.sh.
#   scripts/check-wine-first-start.sh [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-10}
build=build-win
[ -f "$build/build.ninja" ] || {
  echo "no Windows build in $build: run scripts/build-windows.sh first" >&2
  exit 2
}

passed=0
for round in $(seq "$rounds"); do
  rm -rf "$build/wine" "$build/wine.lock" "$build/Kestrelhollow/samples/Factory" "$build/Kestrelhollow/presets"
  if cmake --build "$build" -j 2 --target kh_factory_kit kh_default_preset_file > "$build/first-start-$round.log" 2>&1 &&
    [ -f "$build/Kestrelhollow/presets/kestrelhollowpreset1.fxp" ]; then
    passed=$((passed + 1))
    rm "$build/first-start-$round.log"
  else
    echo "round $round failed: see $build/first-start-$round.log"
  fi
done
echo "$passed of $rounds rounds passed"
[ "$passed" -eq "$rounds" ]
