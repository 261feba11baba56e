#!/usr/bin/env bash
# Makes the certificates of the stand-in service hosts (kept when already there):
#   ca.crt/.der       the stand-in certification authority, which a test or demo run may trust
#   server.crt/.key   the service hosts' certificate, issued by it for the given addresses
#   make-pki.sh OUT_DIR ADDRESS...
set -euo pipefail
out=${1:?usage: make-pki.sh OUT_DIR ADDRESS...}
shift
mkdir -p "$out"
cd "$out"
[ -s server.crt ] && [ -s ca.der ] && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
names=$(printf 'IP:%s,' "$@")
openssl req -x509 -new -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days 3650 \
  -subj "/O=Vorsalt Stand-in/CN=Vorsalt Stand-in CA" -set_serial 0x3000 \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
openssl genrsa -out server.key 2048 2>/dev/null
openssl req -new -key server.key -subj "/O=Vorsalt Stand-in/CN=$1" -out "$work/server.csr"
printf '%s\n' "basicConstraints=CA:FALSE" "keyUsage=digitalSignature,keyEncipherment" \
  "extendedKeyUsage=serverAuth" "subjectAltName=${names%,}" > "$work/server.ext"
openssl x509 -req -in "$work/server.csr" -CA ca.crt -CAkey ca.key -set_serial 0x3001 -days 3650 -sha256 \
  -extfile "$work/server.ext" -out server.crt 2>/dev/null
openssl x509 -in ca.crt -outform DER -out ca.der
