#!/bin/sh
# Without LUMCLIENT.DLL beside it Vorsalt.exe does not start: Wine's loader names the missing
# library on its error channel (Windows says so in a box) and the process ends with
# STATUS_DLL_NOT_FOUND, 0xC0000135, of which Wine hands on the low byte (53).
exe=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$exe" "$dir/Vorsalt.exe" || exit 1
cd "$dir" || exit 1
WINEDEBUG=err+module timeout 300 wine Vorsalt.exe > loader.txt 2>&1
status=$?
fail=0
if [ $status != 53 ]; then
  echo "exit status $status"; fail=1
fi
if ! grep -q 'Library LUMCLIENT.DLL (which is needed by L".*Vorsalt.exe") not found' loader.txt; then
  echo "the loader did not name the library:"; cat loader.txt; fail=1
fi
[ $fail = 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
