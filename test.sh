#!/usr/bin/env bash
# Builds Quillbrook and its tests into build/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash .ci/deps.sh $(cat .ci/packages-build.txt .ci/packages-test.txt)
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja
cmake --build build
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
