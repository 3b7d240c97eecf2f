#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, then starts the configurator ("run"),
# runs every test ("test"), or runs every test in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer ("sanitize", in build-sanitize/).
set -euo pipefail

mode=${1:-test}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$here/build}
options=()
if [[ $mode == sanitize ]]; then
    build=${BUILD_DIR:-$here/build-sanitize}
    options=(-DSW38591_SANITIZE=ON)
fi

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev
          qt6-serialport-dev qt6-serialbus-dev fonts-dejavu-core srecord poppler-utils
          nsis)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} \
    "${options[@]}"
cmake --build "$build" -j"$(nproc)"

case "$mode" in
    run)  exec "$build/bin/sw38591" ;;
    test) cd "$build" && ctest --output-on-failure -j"$(nproc)" ;;
    sanitize)
        export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
        export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/tests/sanitize/lsan.supp}
        export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
        cd "$build" && ctest --output-on-failure -j"$(nproc)" ;;
    *)    echo "usage: $0 run|test|sanitize" >&2; exit 2 ;;
esac
