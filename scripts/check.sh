#!/usr/bin/env bash
# The checking build: clang with the address and undefined-behaviour
# sanitizers. Runs every test but those that drive LibreOffice (they stay in
# the plain build), then each fuzz program once over its kept inputs.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${KORVAN_CHECK_BUILD_DIR:-$top/build-check}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DKORVAN_SANITIZE=ON -DKORVAN_FUZZ=ON "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -E 'Office')
for t in table ini xml json numbers clip; do
  dirs=()
  for d in "$top/fuzz/corpus/$t" "$top/fuzz/regress/$t"; do [ -d "$d" ] && dirs+=("$d"); done
  "$build/fuzz/fuzz_$t" -runs=0 "${dirs[@]}" 2>&1 | tail -1
done
