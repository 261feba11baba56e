#!/bin/sh
# Vorsalt.exe is a 32-bit GUI program that exports the three window instance variables and imports
# the four functions of the service's client library by their undecorated names.
objdump=$1 exe=$2
export LC_ALL=C  # objdump translates some of its headings
dump=$("$objdump" -p "$exe") || exit 1
fail=0
for want in 'Magic[[:space:]]*010b' 'Subsystem[[:space:]]*00000002' \
            '\] _F_MainTest$' '\] _F_Detail$' '\] _F_DebugInfo$'; do
  if ! printf '%s\n' "$dump" | grep -q "$want"; then
    echo "missing: $want"; fail=1
  fi
done
# Import lines: "address hint name", under the "DLL Name:" line of their library.
lumclient=$(printf '%s\n' "$dump" |
  awk '/DLL Name:/ { dll = $3; next } dll == "LUMCLIENT.DLL" && NF == 3 && $2 ~ /^[0-9]+$/ { print $3 }' |
  sort | tr '\n' ' ')
if [ "$lumclient" != "Authentificate Enchance GetError SetLumIp " ]; then
  echo "imports of LUMCLIENT.DLL: $lumclient"; fail=1
fi
[ $fail = 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
