#!/usr/bin/env bash
# Runs a Windows program under 64-bit Wine in the prefix PREFIX, which it first makes complete:
#   scripts/wine.sh --prefix PREFIX PROGRAM [ARG ...]
#   scripts/wine.sh --prefix PREFIX --prepare      only makes the prefix complete
# Every Windows program of the build runs through it: the cross build's generators and test
# listing (CMake's emulator), the test suites and scripts/compare-windows-renders.sh.
#
# Wine creates a missing prefix on a program's first start, and a second program started
# while it does so fails. So the first caller makes the prefix under a lock while later
# callers wait: wineboot, the font replacement the editor's tests need ("Arial" is Liberation
# Sans), and a wait for the Wine session to end. A mark file says the prefix is complete; a
# prefix without it (an interrupted first start) is made anew.
set -euo pipefail

if [ "${1:-}" != --prefix ] || [ $# -lt 3 ]; then
  sed -n '2,3p' "$0" >&2
  exit 2
fi
prefix=$2
shift 2

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
export WINEPREFIX=$prefix WINEDEBUG=${WINEDEBUG:--all}
complete_mark=$prefix/.kestrelhollow-prefix-complete

mkdir -p "$(dirname "$prefix")"
exec {lock}> "$prefix.lock"
flock "$lock"
if [ ! -e "$complete_mark" ]; then
  rm -rf "$prefix"
  # No display: the prefix is made without windows, whatever the caller's session has.
  if ! log=$(env -u DISPLAY "$wine" wineboot --init 2>&1); then
    echo "$log" >&2
    echo "scripts/wine.sh: wineboot could not make the Wine prefix $prefix" >&2
    exit 1
  fi
  env -u DISPLAY "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f > /dev/null
  "$wineserver" -w
  touch "$complete_mark"
fi
exec {lock}>&-

[ "$1" = --prepare ] && exit 0
exec "$wine" "$@"
