#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds, makes the program folder run/ (the
# executable linked into it) and starts the program there.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
build=${KORVAN_BUILD_DIR:-$top/build}
"$top/scripts/setup.sh"
KORVAN_BUILD_DIR="$build" "$top/scripts/build.sh"
mkdir -p "$top/run"
ln -sfn "$build/src/app/korvan" "$top/run/korvan"
cd "$top/run"
exec ./korvan "$@"
