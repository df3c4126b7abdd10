#!/usr/bin/env bash
# Builds Quillbrook and its tests into build/ and runs every test. The builds
# and test runs are the presets of CMakePresets.json; existing builds are reused.
set -euo pipefail
cd "$(dirname "$0")"
bash .ci/deps.sh $(cat .ci/packages-build.txt .ci/packages-test.txt)
[ -f build/compile_commands.json ] || cmake --preset default
cmake --build --preset default
ctest --preset default

# No include runs from a lower folder into a higher one.
tools/check_layers.sh
# Every C++ source as .clang-format lays it out.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# clang-tidy over the core library, with the checks .clang-tidy names; any
# finding fails.
find core -name '*.cpp' -print0 |
  xargs -0 -P 2 -n 6 clang-tidy -p build --quiet --warnings-as-errors='*'

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# in a clang build that also holds the fuzz targets; then each fuzz target for
# a short while (tests/fuzz/README.md has the long run).
[ -f build-asan/build.ninja ] || cmake --preset asan
cmake --build --preset asan
ctest --preset asan
tests/fuzz/run.sh build-asan 20

# The launch worker under ThreadSanitizer; tests/tsan.supp says what is
# suppressed and why.
[ -f build-tsan/build.ninja ] || cmake --preset tsan
cmake --build --preset tsan
ctest --preset tsan
