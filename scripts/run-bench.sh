#!/usr/bin/env bash
# Builds and runs every benchmark; each prints its own figures. The Qt ones run on the
# offscreen platform unless a display is set. Pass names to run only those.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
scratch=$(mktemp -d /tmp/tavo-bench-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
for bench in "$root"/build/bench/*bench; do
  name=$(basename "$bench")
  if [ $# -gt 0 ] && [[ ! " $* " == *" $name "* ]]; then continue; fi
  echo "== $name"
  "$bench" "$scratch"
done
