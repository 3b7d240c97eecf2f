#!/usr/bin/env bash
# Takes the README's pictures (docs/*.png) from the real windows under the offscreen platform.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$here/build}
cmake --build "$build" --target sw38591_screenshots
QT_QPA_PLATFORM=offscreen "$build/scripts/sw38591_screenshots" "$here" "$here/docs"
