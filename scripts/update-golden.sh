#!/usr/bin/env bash
# Writes the golden output test's reference anew from the plain build (build/): the default
# preset's render, block by block, and its saved project text, in tests/plugin/golden/.
# Only for a deliberate change of sound or of the saved text: commit the new reference on its
# own, saying why it changed. Every other change must leave the golden test passing as it is.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -G Ninja -Wno-dev > /dev/null
cmake --build build --target kh_golden_output_tests
KH_UPDATE_GOLDEN=1 build/tests/plugin/kh_golden_output_tests
git status --short tests/plugin/golden
