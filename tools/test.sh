#!/usr/bin/env bash
# Builds everything and runs every test inside the loopback-only sandbox.
# Arguments go to ctest (for example -R Name); VORSALT_BUILD_DIR names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
build=${VORSALT_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/wineprefix"
export VORSALT_BUILD_DIR=$build
exec tools/sandbox.sh "$PWD/$build/wineprefix" bash -c '
  tools/wine-prefix.sh
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$VORSALT_BUILD_DIR" --output-on-failure -j"$(nproc)" "$@"
  rc=$?
  wineserver -k || true
  exit $rc' test "$@"
