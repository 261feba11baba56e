#!/usr/bin/env bash
# Builds a benchmark program and runs it three times on the Wine prefix that tools/test.sh has
# made (a warm one), in the sandbox. Run after tools/test.sh:   tools/bench.sh TARGET [ARGUMENTS...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VORSALT_BUILD_DIR:-build}
target=$1
shift
cmake --build "$build" -j4 --target "$target" >/dev/null
tools/sandbox.sh "$PWD/$build/wineprefix" bash -c '
  tools/wine-prefix.sh
  cd "$1/bin"
  program=$2
  shift 2
  for run in 1 2 3; do wine "$program.exe" "$@" > "$program.out" 2>&1; cat "$program.out"; echo; done
  rm -f "$program.out"
  wineserver -k || true' bench "$PWD/$build" "$target" "$@"
