#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds, and runs every test through ctest.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
build=${KORVAN_BUILD_DIR:-$top/build}
"$top/scripts/setup.sh"
KORVAN_BUILD_DIR="$build" "$top/scripts/build.sh"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
