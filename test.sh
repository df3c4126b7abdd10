#!/usr/bin/env bash
# Builds Quillbrook and its tests into build/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
bash .ci/deps.sh $(cat .ci/packages-build.txt .ci/packages-test.txt)
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja
cmake --build build
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
cd ..

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# in a clang build that also holds the fuzz targets; then each fuzz target for
# a short while (tests/fuzz/README.md has the long run). Builds are reused.
[ -f build-asan/build.ninja ] ||
  cmake -S . -B build-asan -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQB_SANITIZE=ON -DQB_FUZZ=ON
cmake --build build-asan -j 2
(cd build-asan &&
  ASAN_OPTIONS=halt_on_error=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  QT_QPA_PLATFORM=offscreen ctest -L unit -LE e2e --output-on-failure -j2)
tests/fuzz/run.sh build-asan 20

# The launch worker under ThreadSanitizer; tests/tsan.supp says what is
# suppressed and why.
[ -f build-tsan/build.ninja ] ||
  cmake -S . -B build-tsan -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQB_TSAN=ON
cmake --build build-tsan -j 2 --target tst_launching tst_launchstorm
(cd build-tsan &&
  TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/../tests/tsan.supp" \
  QT_QPA_PLATFORM=offscreen ctest -R '^tst_launch(ing|storm)$' --output-on-failure)
