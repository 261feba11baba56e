#!/usr/bin/env bash
# Makes the Wine prefix ready (the first start takes about 15 s) and leaves one persistent
# wineserver with Wine's services running for everything that follows. Run inside the sandbox.
set -euo pipefail
wineboot -i >/dev/null 2>&1 || true
# A program that crashes gets its backtrace printed and ends, instead of waiting in a dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
# Under qemu-i386 the debugger that prints it hangs: a crashed program ends there without one.
if [ "${VORSALT_EMULATED:-}" = 1 ]; then
  for view in 32 64; do
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f /reg:$view \
      >/dev/null 2>&1 || true
  done
fi
wineserver -w
wineserver -p
# Wine's services start with the first program and inherit its output: start them here, so that
# no later program's pipe (a test runner waits for its end) is held open by them.
wine cmd /c exit </dev/null >/dev/null 2>&1
