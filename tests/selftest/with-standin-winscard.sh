#!/bin/sh
# Runs a test program under Wine with the stand-in winscard.dll beside it instead of Wine's.
WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}winscard=n" exec wine "$@"
