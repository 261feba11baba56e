#!/usr/bin/env bash
# Builds and runs the signing benchmark (SignLow over 1 MB with the time stamp and the OCSP
# response from openssl's responders on loopback) under the test platform's Wine, in the sandbox.
# Prints a table per kind of signature.
#   tools/bench-signing.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
build=${VORSALT_BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_sign_low
out=$(mktemp)
tools/sandbox.sh "$PWD/$build/wineprefix-bench" bash -c '
  tools/wine-prefix.sh
  cd "$(dirname "$1")"
  wine "$1" > "$2" 2>&1
  rc=$?
  wineserver -k || true
  exit $rc' bench "$PWD/$build/bin/bench_sign_low.exe" "$out" || { cat "$out"; rm -f "$out"; exit 1; }
cat "$out"
rm -f "$out"
