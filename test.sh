#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds, and runs every test through ctest, then
# again in the sanitizer build (scripts/check.sh; KORVAN_SKIP_CHECK_BUILD=1 leaves it out).
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
build=${KORVAN_BUILD_DIR:-$top/build}
"$top/scripts/setup.sh"
KORVAN_BUILD_DIR="$build" "$top/scripts/build.sh"
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" "$@")
# The same tests built with sanitizers, and the fuzz programs over their inputs.
if [ -z "${KORVAN_SKIP_CHECK_BUILD:-}" ]; then
  "$top/scripts/check.sh"
fi
