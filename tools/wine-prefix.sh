#!/usr/bin/env bash
# Makes the Wine prefix ready (the first start takes about 15 s). Run inside the sandbox.
set -euo pipefail
wineboot -i >/dev/null 2>&1 || true
wineserver -w
