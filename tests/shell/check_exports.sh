#!/bin/sh
# Vorsalt.exe is a 32-bit GUI program that exports the three window instance variables and the
# JSON library (its classes with their virtual tables, type information and operations) and the
# logging library (its ten variables by their own names, its classes and operations), and
# imports the four functions of the service's client library by their undecorated names.
objdump=$1 exe=$2
export LC_ALL=C  # objdump translates some of its headings
dump=$("$objdump" -p "$exe") || exit 1
names=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*\[ *[0-9]*\] \([^+ ].*\)$/\1/p' | c++filt)
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
for class in TJsonBase TJsonNumber TJsonString TJsonBoolean TJsonNull TJsonCustomList TJsonList \
             TJsonObjectMethod TJsonObject; do
  for want in "vtable for $class" "typeinfo for $class"; do
    printf '%s\n' "$names" | grep -qxF "$want" || { echo "missing: $want"; fail=1; }
  done
done
for want in 'TJson::ParseText(' 'TJson::GenerateText[abi:cxx11](TJsonBase*)' \
            'GenerateReadableText[abi:cxx11](TJsonBase*, int&)' 'TJsonStreamed::SaveToStream(TJsonBase*, TStream*)' \
            'TJsonStreamed::SaveToFile(TJsonBase*, ' 'TJsonStreamed::LoadFromStream(TStream*)' \
            'TJsonStreamed::LoadFromFile(' 'TBalTree::Insert(' 'TBalTree::IndexOf(' 'TBalTree::Delete(' \
            'TBalTree::counters[abi:cxx11]() const' 'TJsonNumber::Generate(long double)' 'TJsonString::Generate(' \
            'TJsonBoolean::Generate(bool)' 'TJsonNull::Generate()' 'TJsonList::Generate()' 'TJsonObject::Generate(bool)' \
            'TJsonObjectMethod::Generate(' 'TJsonObject::IndexOfName(' 'TJsonCustomList::ForEach(' \
            'TJsonList::Add(bool)' 'TJsonObject::getInt(int)'; do
  printf '%s\n' "$names" | grep -qF "$want" || { echo "missing: $want"; fail=1; }
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
