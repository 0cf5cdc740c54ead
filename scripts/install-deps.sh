#!/usr/bin/env bash
# Installs every Debian package Tavo needs to build, test and run its demo. Safe to run again:
# with everything present it does nothing. MariaDB's server is only installed, never started
# here: the SQL export tests start one of their own in a scratch folder.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev googletest
  qt6-base-dev qt6-qpa-plugins libgl-dev qt6-charts-dev libqt6opengl6-dev
  libcli11-dev nlohmann-json3-dev
  clang-format clang libfuzzer-14-dev
  xvfb xauth imagemagick fonts-dejavu-core python3 jq
  mariadb-server mariadb-client libmariadb-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
# A third-party source that cannot be reached must not stop the install from Debian's archive.
"${as_root[@]}" apt-get update || true
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
