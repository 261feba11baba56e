#!/usr/bin/env bash
# Events per second through the logging library's file appender with the pattern layout, against
# a plain loop of WriteFile calls writing the same lines. Run after tools/test.sh has made the
# build and its Wine prefix:   tools/bench-logging.sh [EVENTS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VORSALT_BUILD_DIR:-build}
cmake --build "$build" -j8 --target bench_logging >/dev/null
tools/sandbox.sh "$PWD/$build/wineprefix" bash -c '
  tools/wine-prefix.sh
  cd "$1/bin"
  for run in 1 2 3; do wine bench_logging.exe "$2" > bench-logging.out 2>&1; cat bench-logging.out; echo; done
  rm -f bench-logging.out
  wineserver -k || true' bench "$PWD/$build" "${1:-200000}"
