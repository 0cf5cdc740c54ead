#!/usr/bin/env bash
# Fuzzes every reader for a given time each and prints, per target, the executions and whether
# it crashed. A crash input is kept in $build/crashes/TARGET/; check it in under
# fuzz/inputs/TARGET/ with the fix, so that ctest replays it from then on.
#   scripts/run-fuzz.sh [SECONDS] [TARGET...]      (default 60 s each, every target)
# TAVO_FUZZ_BUILD names the clang build folder (default build-fuzz/, made when missing).
# The corpora grow in $build/corpus/TARGET/ from one run to the next. Exit 1 after a crash.
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

failed=0
printf '%-20s %12s %8s %s\n' target executions seconds result
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  crashes="$build/crashes/$target"
  mkdir -p "$corpus" "$crashes"
  log="$build/crashes/$target.log"
  status=0
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -print_final_stats=1 -artifact_prefix="$crashes/" "$corpus" "$root/fuzz/inputs/$target" \
    >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  time=$(sed -n 's/^stat::.*total_time.*: *//p' "$log" | tail -n 1)
  result=ok
  if [ "$status" -ne 0 ]; then
    result="CRASH (see $log)"
    failed=1
  fi
  printf '%-20s %12s %8s %s\n' "$target" "${runs:-?}" "${seconds}" "$result"
done
exit $failed
