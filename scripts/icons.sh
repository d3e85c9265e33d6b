#!/usr/bin/env bash
# Rebuilds the icon generator and redraws the icons in res/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="${KORVAN_BUILD_DIR:-$top/build}/icongen"
cmake -S "$top/tools/icongen" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
QT_QPA_PLATFORM=offscreen "$build/icongen" "$top/res"
