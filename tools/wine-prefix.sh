#!/usr/bin/env bash
# Makes the Wine prefix ready (the first start takes about 15 s). Run inside the sandbox.
set -euo pipefail
wineboot -i >/dev/null 2>&1 || true
# A program that crashes gets its backtrace printed and ends, instead of waiting in a dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
