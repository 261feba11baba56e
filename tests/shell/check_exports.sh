#!/bin/sh
# Vorsalt.exe is a 32-bit GUI program that exports the three window instance variables and the
# logging library: its ten variables by their own names, its classes and operations.
objdump=$1 exe=$2
dump=$("$objdump" -p "$exe") || exit 1
fail=0
for want in 'Magic[[:space:]]*010b' 'Subsystem[[:space:]]*00000002' \
            '\] _F_MainTest$' '\] _F_Detail$' '\] _F_DebugInfo$' \
            '\] All$' '\] Debug$' '\] Info$' '\] Warn$' '\] Error$' '\] Fatal$' '\] Off$' \
            '\] DefaultLoggerFactory$' '\] DefaultHierarchy$' '\] LogLog$' \
            '\] _ZN7HierLog10TLogLogger9GetLogger' '\] _ZN7HierLog13TLogHierarchy9GetLogger' \
            '\] _ZN7HierLog7TLogNDC4Push' '\] _ZN7HierLog9StrToBool' '\] _ZN7HierLog15TLogODSAppenderC' \
            '\] _ZN7HierLog12FindAppender' '\] _ZN7HierLog14RegisterLayout' \
            '\] _ZN7HierLog24TLogPropertyConfigurator9Configure' '\] _ZN7HierLog21TLogBasicConfigurator9Configure'; do
  if ! printf '%s\n' "$dump" | grep -q "$want"; then
    echo "missing: $want"; fail=1
  fi
done
[ $fail = 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
