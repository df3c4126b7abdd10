#!/usr/bin/env bash
# Runs every fuzz target for SECONDS each, two at a time, from the seeds in
# tests/fuzz/corpus and what earlier runs in BUILD found.
#   tests/fuzz/run.sh BUILD [SECONDS] [TARGET...]
# Configures and builds BUILD first when needed. Ends with "N passed, N failed"
# and fails when any target found a fault.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:?usage: run.sh BUILD [SECONDS] [TARGET...]}")
seconds=${2:-20}
shift $(( $# > 1 ? 2 : 1 ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_entryline fuzz_groupfile fuzz_inifile fuzz_settingvalues fuzz_desktopentry)

if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQB_SANITIZE=ON -DQB_FUZZ=ON
fi
cmake --build "$build" -j 2 --target fuzzers

export LC_ALL=C.UTF-8
export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

run_one() {
  local t=$1 found="$build/fuzz-corpus/$1" artifacts="$build/fuzz-artifacts/$1"
  mkdir -p "$found" "$artifacts"
  if "$build/tests/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$artifacts/" "$found" "$root/tests/fuzz/corpus/$t" \
       >"$build/fuzz-$t.log" 2>&1; then
    echo "$t: passed, $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz-$t.log" | grep -o '[0-9]*$') runs"
  else
    echo "$t: FAILED (log: $build/fuzz-$t.log)"
    tail -n 40 "$build/fuzz-$t.log" | sed 's/^/    /'
    return 1
  fi
}

passed=0 failed=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for t in "${targets[@]:i:2}"; do
    run_one "$t" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    if wait "$pid"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
  done
done
echo "fuzzing: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
