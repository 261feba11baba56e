#!/usr/bin/env bash
# Builds Vorsalt.exe and runs it under Wine inside the loopback-only sandbox, with stand-ins for
# the service host, the training complex, the CA's web sites and the signing gateway
# (standins/start.sh), and the test provider as CryptoPro. With a
# display the program opens there; without one it runs under Xvfb, makes a run and saves
# screenshots into shots/; when a step of that fails, it says which in one line and exits 1.
#   tools/run.sh [--emulate]
# --emulate runs the 32-bit programs under qemu-i386 even where they run natively (the path that
# hosts without 32-bit support take), for this run only.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = --emulate ]; then export VORSALT_EMULATE=1; shift; fi
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target Vorsalt lumclient_standin demo_driver register_demo_csp standin_pki ca_pki
mkdir -p build/demo-prefix shots
[ -n "${DISPLAY:-}" ] || export VORSALT_DEMO_SHOTS=1
# Without a display everything runs on Xvfb, the prefix's set-up included (Wine's desktop and
# services start then).
display=(xvfb-run -a -s "-screen 0 1024x768x24")
[ -n "${DISPLAY:-}" ] && display=()
exec tools/sandbox.sh "$PWD/build/demo-prefix" "${display[@]}" bash -c '
  tools/wine-prefix.sh
  source tools/demo-standins.sh build build/demo-logs
  cd build/bin
  if [ -z "${VORSALT_DEMO_SHOTS:-}" ]; then
    wine Vorsalt.exe
  else
    # Screenshots of an earlier run are not shown as this one'"'"'s.
    rm -f ../../shots/verdict.* ../../shots/finished.*
    rc=0
    wine demo_driver.exe "..\\..\\shots" || rc=$?
    # 2: the driver has told which step failed.
    [ $rc = 2 ] && exit 1
    [ $rc = 0 ] || demo_failed "the demo driver ended with status $rc before it reported"
    for shot in verdict finished; do
      convert "../../shots/$shot.bmp" "../../shots/$shot.png" && [ -s "../../shots/$shot.png" ] ||
        demo_failed "screenshot not made: shots/$shot.png (its bitmap could not be converted)"
      rm "../../shots/$shot.bmp"
    done
    echo "screenshots: shots/verdict.png shots/finished.png"
  fi'
