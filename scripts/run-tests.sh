#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
#   scripts/run-tests.sh              the normal build (build/)
#   scripts/run-tests.sh --sanitize   the same under AddressSanitizer and UBSan (build-asan/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

build="$root/build"
flags=(-DTAVO_WERROR=ON)
if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-asan"
  flags+=(-DTAVO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug)
fi
cmake -S "$root" -B "$build" -G Ninja "${flags[@]}"
cmake --build "$build"
cd "$build"
ctest --output-on-failure -j "$(nproc)"
