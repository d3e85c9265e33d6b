#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds, makes the program folder run/ (the
# executable and the updater linked into it) and starts the program there.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
build=${KORVAN_BUILD_DIR:-$top/build}
"$top/scripts/setup.sh"
KORVAN_BUILD_DIR="$build" "$top/scripts/build.sh"
mkdir -p "$top/run"
ln -sfn "$build/src/app/korvan" "$top/run/korvan"
# The updater that the start-up hands a downloaded version to.
ln -sfn "$build/tools/updater/update" "$top/run/update"
cd "$top/run"
exec ./korvan "$@"
