#!/usr/bin/env bash
# Builds the editor and starts it on a scratch copy of the bundled demo server, so that the
# checked-in copy never changes. TAVO_DEMO_DIR names the scratch folder (default: a new one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja
cmake --build "$root/build" --target tavo tavo-cli

scratch=${TAVO_DEMO_DIR:-$(mktemp -d /tmp/tavo-demo-XXXXXX)}
rm -rf "$scratch/server" "$scratch/program"
mkdir -p "$scratch/program"
cp -r "$root/demo/server" "$scratch/server"
cp -r "$root/demo/program/." "$scratch/program/"
cp "$root/build/ui/tavo" "$root/build/cli/tavo-cli" "$scratch/program/"
echo "Demo server: $scratch/server   program folder: $scratch/program"
exec "$scratch/program/tavo" "$@"
