#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds, and runs every test through ctest.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "${KORVAN_BUILD_DIR:-$top/build}"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@"
