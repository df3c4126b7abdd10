#!/usr/bin/env bash
# Builds Quillbrook into build/ and starts it there; its settings and group
# files live next to build/Quillbrook.
set -euo pipefail
cd "$(dirname "$0")"
bash .ci/deps.sh $(cat .ci/packages-build.txt)
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja
cmake --build build --target Quillbrook
exec build/Quillbrook
