#!/usr/bin/env bash
# Renders the same scenes with the Linux kestrelhollow-render (build/) and with
# kestrelhollow-render.exe under Wine (build-win/), each hosting its own bundle, and compares
# them sample for sample. Classic sound must be identical byte for byte; Tuned sound, whose
# samples each system's own libsoxr converts, must be within 1e-6 per sample (otherwise the
# largest difference and where it comes from are reported).
# Both builds must be complete; run by the Windows section of scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux=$root/build
windows=$root/build-win
wine=("$root/scripts/wine.sh" --prefix "$windows/wine")
compare=$linux/tests/ardour/kh_compare_renders

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/linux" "$work/windows"

# The bundles themselves: the factory kit and the default preset are made on each system.
kit_same=true
for file in "$linux"/Kestrelhollow/samples/Factory/*.wav "$linux"/Kestrelhollow/presets/*.fxp; do
  cmp -s "$file" "$windows/Kestrelhollow/${file#"$linux"/Kestrelhollow/}" || {
    echo "differs between the bundles: ${file#"$linux"/}"
    kit_same=false
  }
done
$kit_same && echo "factory kit and default preset: identical"

# A project with pitched and panned holders, from the default preset.
"$linux/bin/kestrelhollow-render" --save-text "$work/default.txt" > /dev/null
awk -F';' -v OFS=';' '$1 == "smp2" {
    if ($2 == 36) { $7 = -3; $9 = 0 }
    if ($2 == 38) { $7 = 2.5; $9 = 1 }
    if ($2 == 42) { $7 = 7; $9 = 0.2 }
    if ($2 == 46) { $7 = -12.5 }
  } { print }' "$work/default.txt" > "$work/pitched.txt"
# A one-bar MIDI file on channel 10: kick on beats 1 and 3, snare on 2 and 4.
printf 'MThd\0\0\0\6\0\0\0\1\0\140MTrk\0\0\0\21\0\231\44\144\140\46\144\140\44\144\140\46\144\140\377\57\0' > "$work/drums.mid"
cp "$work/pitched.txt" "$work/drums.mid" "$work/linux/"
cp "$work/pitched.txt" "$work/drums.mid" "$work/windows/"

# name|sound|options: the default preset is Tuned; Classic scenes choose their sound.
scenes=(
  "hsync|classic|--mode Hsync --bars 8"
  "midi|classic|--midi drums.mid"
  "outputs24|classic|--outputs all --bars 4"
  "pitched|classic|--state pitched.txt --mode Run --bars 8"
  "tuned|tuned|--mode Hsync --bars 4"
  "tuned-pitched|tuned|--state pitched.txt --mode Run --bars 8 --rate 44100"
)

status=0
for scene in "${scenes[@]}"; do
  IFS='|' read -r name sound rest <<< "$scene"
  read -r -a options <<< "--sound $sound $rest"
  linux_time=$(cd "$work/linux" && "$linux/bin/kestrelhollow-render" "${options[@]}" -o "$name.wav" 2>&1 | grep -m 1 "^Rendered")
  windows_time=$(cd "$work/windows" &&
    "${wine[@]}" "$windows/bin/kestrelhollow-render.exe" "${options[@]}" -o "$name.wav" 2>&1 | tr -d '\r' | grep -m 1 "^Rendered")
  echo "== $name (${options[*]})"
  echo "   Linux:   $linux_time"
  echo "   Windows: $windows_time"
  if cmp -s "$work/linux/$name.wav" "$work/windows/$name.wav"; then
    echo "   identical, byte for byte"
  elif [ "$sound" = classic ]; then
    echo "   FAILED: Classic sound must be identical byte for byte"
    "$compare" "$work/linux/$name.wav" "$work/windows/$name.wav" | sed 's/^/   /' || true
    status=1
  else
    "$compare" "$work/linux/$name.wav" "$work/windows/$name.wav" | sed 's/^/   /' || status=1
  fi
done
exit $status
