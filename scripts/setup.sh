#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, then starts the configurator ("run")
# or runs every test ("test").
set -euo pipefail

mode=${1:-test}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$here/build}

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev
          fonts-dejavu-core srecord)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo}
cmake --build "$build" -j"$(nproc)"

case "$mode" in
    run)  exec "$build/bin/sw38591" ;;
    test) cd "$build" && ctest --output-on-failure -j"$(nproc)" ;;
    *)    echo "usage: $0 run|test" >&2; exit 2 ;;
esac
