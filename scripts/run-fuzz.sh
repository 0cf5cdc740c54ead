#!/usr/bin/env bash
# Fuzzes every reader for a given time each and prints, per target, the executions and whether
# it crashed. A crash input is kept in $build/crashes/TARGET/; check it in under
# fuzz/inputs/TARGET/ with the fix, so that ctest replays it from then on.
#   scripts/run-fuzz.sh [SECONDS] [TARGET...]      (default 60 s each, every target)
# TAVO_FUZZ_BUILD names the clang build folder (default build-fuzz/, made when missing).
# The corpora grow in $build/corpus/TARGET/ from one run to the next. Exit 1 after a crash;
# TAVO_FUZZ_TIMEOUT (default 60) is the seconds one input may take before it counts as a hang.
# TAVO_FUZZ_SEED and TAVO_FUZZ_RUNS fix the mutations and cap their number: CI replays the same
# short run every time, so it fails on a change, never on a find of chance; finding is what the
# long runs are for.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
[ $# -gt 0 ] && shift
build=${TAVO_FUZZ_BUILD:-$root/build-fuzz}

if [ ! -f "$build/CMakeCache.txt" ]; then
  "$root/scripts/install-deps.sh"
  CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DTAVO_FUZZ=ON -DTAVO_CORE_ONLY=ON \
    -DTAVO_BUILD_TESTS=OFF >/dev/null
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi
cmake --build "$build" --target gen_server "${targets[@]}" >/dev/null

if [ ! -d "$build/corpus" ]; then
  "$root/scripts/fuzz-seeds.sh" "$build/tools/gen_server" "$build/corpus"
fi

# A hang is an input that takes longer than this alone; a slow or starved machine must not
# pass for one, so a timeout or an out-of-memory stop is replayed alone before it counts.
timeout=${TAVO_FUZZ_TIMEOUT:-60}
memory_mb=2048

# replay TARGET INPUT: the input run once on its own, with five times the time; 0 when it passes.
replay() {
  "$build/fuzz/$1" -timeout=$((timeout * 5)) -rss_limit_mb=$memory_mb -runs=1 "$2" \
    >>"$log" 2>&1
}

repeatable=()
[ -n "${TAVO_FUZZ_SEED:-}" ] && repeatable+=(-seed="$TAVO_FUZZ_SEED")
[ -n "${TAVO_FUZZ_RUNS:-}" ] && repeatable+=(-runs="$TAVO_FUZZ_RUNS")

failed=0
printf '%-20s %12s %8s %8s %s\n' target executions seconds exec/s result
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  crashes="$build/crashes/$target"
  mkdir -p "$corpus" "$crashes"
  log="$build/crashes/$target.log"
  status=0
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout="$timeout" \
    -rss_limit_mb=$memory_mb -max_len=8192 -print_final_stats=1 -artifact_prefix="$crashes/" \
    "${repeatable[@]}" \
    "$corpus" "$root/fuzz/inputs/$target" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
  result=ok
  if [ "$status" -ne 0 ]; then
    result="CRASH (see $log)"
    slow=$(sed -n 's/^artifact_prefix=.*Test unit written to \(.*\(timeout\|oom\)-.*\)$/\1/p' \
      "$log" | tail -n 1)
    if [ -n "$slow" ] && replay "$target" "$slow"; then
      result="ok (${slow##*/} passed alone: the machine was starved)"
    fi
  fi
  [ "${result%% *}" = ok ] || failed=1
  printf '%-20s %12s %8s %8s %s\n' "$target" "${runs:-?}" "$seconds" "${rate:-?}" "$result"
done
exit $failed
