#!/usr/bin/env bash
# Builds everything and runs every test inside the loopback-only sandbox.
#   tools/test.sh [--emulate] [CTEST ARGUMENTS...]
# --emulate runs the 32-bit programs under qemu-i386 even where they run natively (the path that
# hosts without 32-bit support take), for this run only. Other arguments go to
# ctest (for example -R support_tests; GTEST_FILTER=Suite.Case picks cases within a program;
# -L table runs only the fast table tests, -L platform and -L e2e the others, see tests/CMakeLists.txt);
# VORSALT_BUILD_DIR names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
emulate=
if [ "${1:-}" = --emulate ]; then emulate=1; shift; fi

if [ -n "$emulate" ]; then
  export VORSALT_EMULATE=1
  echo "32-bit programs run under qemu-i386 emulation for this run"
fi
bash tools/install-deps.sh

build=${VORSALT_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -rf "$build/wineprefix" "$build/test-results"
export VORSALT_BUILD_DIR=$build
rc=0
# The prefix is made on the test display, so that Wine's desktop and services started then serve
# every test.
tools/sandbox.sh "$PWD/$build/wineprefix" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  tools/wine-prefix.sh
  ctest --test-dir "$VORSALT_BUILD_DIR" --output-on-failure -j"$(nproc)" "$@"
  rc=$?
  wineserver -k || true
  exit $rc' test "$@" || rc=$?
python3 tools/test-summary.py "$build/test-results"
exit $rc
