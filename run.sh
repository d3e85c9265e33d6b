#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds, makes the program folder run/ and starts the program there.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
mkdir -p "$top/run"
ln -sf "$top/build/src/app/korvan" "$top/run/korvan"
cd "$top/run"
exec ./korvan "$@"
