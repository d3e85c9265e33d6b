#!/usr/bin/env bash
# Builds the fuzz programs (clang, address and undefined-behaviour sanitizers)
# and runs each target for the given number of seconds (default 60), starting
# from its kept inputs. New findings are written to build-fuzz/findings/.
#   scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVAN_FUZZ_BUILD_DIR:-$top/build-fuzz}
seconds=${1:-60}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(table ini xml json numbers clip)
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVAN_SANITIZE=ON -DKORVAN_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"
mkdir -p "$build/findings"
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  mkdir -p "$work"
  echo "== $t for ${seconds}s"
  dirs=("$work")
  for d in "$top/fuzz/corpus/$t" "$top/fuzz/regress/$t"; do [ -d "$d" ] && dirs+=("$d"); done
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -artifact_prefix="$build/findings/$t-" "${dirs[@]}"
done
