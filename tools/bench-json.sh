#!/usr/bin/env bash
# Builds and runs the JSON benchmark (the library against nlohmann::json, both compiled with the
# project's toolchain) under the test platform's Wine, in the sandbox. Prints a table.
#   tools/bench-json.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
build=${VORSALT_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target json_bench
out=$(mktemp)
tools/sandbox.sh "$PWD/$build/wineprefix-bench" bash -c '
  tools/wine-prefix.sh
  wine "$1" > "$2" 2>&1
  rc=$?
  wineserver -k || true
  exit $rc' bench "$PWD/$build/bin/json_bench.exe" "$out" || { cat "$out"; rm -f "$out"; exit 1; }
cat "$out"
rm -f "$out"
