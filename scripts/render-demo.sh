#!/usr/bin/env bash
# From a fresh checkout to sound: installs the Debian packages that are missing, builds the
# plug-in bundle and the command-line host in build/, and renders four bars of the default
# preset's pattern to demo.wav.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh

cmake -S . -B build -G Ninja -Wno-dev > /dev/null
# The bundle (plug-in, factory kit, default preset) and the host; the tests are built by scripts/test.sh.
cmake --build build -j "$(nproc)" --target Kestrelhollow kh_factory_kit kh_default_preset_file kestrelhollow-render
build/bin/kestrelhollow-render --bars 4 -o demo.wav
