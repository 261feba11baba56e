#!/usr/bin/env bash
# Builds a benchmark program and runs it in the sandbox on the Wine prefix of the tests (made on
# first use), VORSALT_BENCH_RUNS times (3 by default), printing what each run prints. Benchmarks
# are not tests; CTest never runs them.
#   tools/bench.sh TARGET [ARGUMENTS...]
# VORSALT_BENCH_DEMO=1: the runs see the demo's world instead, in a prefix of their own made on a
# display (Xvfb): the demo's stand-ins, logging into build/bench-logs, and the test provider as
# CryptoPro (tools/demo-standins.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
build=${VORSALT_BUILD_DIR:-build}
target=$1
shift
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j4 --target "$target" >/dev/null
prefix=wineprefix
world=()
if [ "${VORSALT_BENCH_DEMO:-}" = 1 ]; then
  prefix=bench-demo-prefix
  world=(xvfb-run -a -s "-screen 0 1024x768x24")
  rm -rf "$build/bench-logs"
fi
tools/sandbox.sh "$PWD/$build/$prefix" "${world[@]}" bash -c '
  tools/wine-prefix.sh
  [ "${VORSALT_BENCH_DEMO:-}" != 1 ] || source tools/demo-standins.sh "$1" "$1/bench-logs"
  cd "$1/bin"
  program=$2 runs=$3
  shift 3
  rc=0
  for run in $(seq "$runs"); do
    wine "$program.exe" "$@" > "$program.out" 2>&1 || rc=$?
    cat "$program.out"
    echo
  done
  rm -f "$program.out"
  wineserver -k || true
  exit $rc' bench "$PWD/$build" "$target" "${VORSALT_BENCH_RUNS:-3}" "$@"
