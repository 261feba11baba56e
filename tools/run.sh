#!/usr/bin/env bash
# Builds Vorsalt.exe and runs it under Wine inside the loopback-only sandbox, with stand-ins for
# the service host, the training complex and the signing gateway (standins/start.sh). With a
# display the program opens there; without one it runs under Xvfb, makes a run and saves
# screenshots into shots/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target Vorsalt lumclient_standin demo_driver standin_pki
mkdir -p build/demo-prefix shots
[ -n "${DISPLAY:-}" ] || export VORSALT_DEMO_SHOTS=1
# Without a display everything runs on Xvfb, the prefix's set-up included (Wine's desktop and
# services start then).
display=(xvfb-run -a -s "-screen 0 1024x768x24")
[ -n "${DISPLAY:-}" ] && display=()
exec tools/sandbox.sh "$PWD/build/demo-prefix" "${display[@]}" bash -c '
  tools/wine-prefix.sh
  host() { sed -n "s/^VORSALT_$1_HOST:STRING=//p" build/CMakeCache.txt; }
  bash standins/start.sh standins/peer/peer.py build/standins-pki build/demo-logs \
    "$(host SERVICE)" "$(host TRAINING)" "$(host ALTERNATIVE)" & standins=$!
  trap "kill $standins 2>/dev/null; wineserver -k 2>/dev/null || true" EXIT
  cd build/bin
  if [ -z "${VORSALT_DEMO_SHOTS:-}" ]; then
    wine Vorsalt.exe
  else
    wine demo_driver.exe "..\\..\\shots"
    for shot in verdict finished; do
      convert "../../shots/$shot.bmp" "../../shots/$shot.png" && rm "../../shots/$shot.bmp"
    done
    echo "screenshots: shots/verdict.png shots/finished.png"
  fi'
