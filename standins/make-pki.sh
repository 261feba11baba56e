#!/usr/bin/env bash
# Makes a PKI of stand-ins in OUT_DIR (kept when it is already complete).
#   make-pki.sh test OUT_DIR
#     the test PKI of the HTTP tests:
#     ca.crt/.der      test certification authority
#     server.*         127.0.0.1 and localhost, issued by the CA
#     selfsigned.*     the same names, self-signed
#     wrongname.*      issued by the CA for another name
#     expired.*        issued by the CA, valid in 2020 only
#     client.*         client certificate (clientAuth) issued by the CA; client.pfx, password below
#     serials.txt      the serial number of each issued certificate
#   make-pki.sh service OUT_DIR ADDRESS...
#     the stand-in service hosts' PKI, with a CA of its own that a test or demo run may trust:
#     ca.crt/.der      the stand-in certification authority
#     server.crt/.key  the service hosts' certificate, issued by it for the given addresses
set -euo pipefail
usage="usage: make-pki.sh test OUT_DIR | make-pki.sh service OUT_DIR ADDRESS..."
kind=${1:?$usage}
out=${2:?$usage}
shift 2
pfx_password=vorsalt
days=3650
mkdir -p "$out"
cd "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

key() { openssl genrsa -out "$1.key" 2048 2>/dev/null; }

# ca ORGANIZATION SERIAL: a self-signed certification authority
ca() {
  openssl req -x509 -new -newkey rsa:2048 -nodes -keyout ca.key -out ca.crt -days $days \
    -subj "/O=$1/CN=$1 CA" -set_serial "$2" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
  openssl x509 -in ca.crt -outform DER -out ca.der
}

# issue NAME SERIAL SUBJECT EXTENSIONS...: a certificate of the CA
issue() {
  local name=$1 serial=$2 subject=$3; shift 3
  key "$name"
  openssl req -new -key "$name.key" -subj "$subject" -out "$work/$name.csr"
  printf '%s\n' "$@" > "$work/$name.ext"
  openssl x509 -req -in "$work/$name.csr" -CA ca.crt -CAkey ca.key -set_serial "$serial" \
    -days $days -sha256 -extfile "$work/$name.ext" -out "$name.crt" 2>/dev/null
}

server_ext=("basicConstraints=CA:FALSE" "keyUsage=digitalSignature,keyEncipherment" "extendedKeyUsage=serverAuth")

service_pki() {
  [ $# -ge 1 ] || { echo "$usage" >&2; exit 2; }
  [ -s server.crt ] && [ -s ca.der ] && return 0
  local names
  names=$(printf 'IP:%s,' "$@")
  ca "Vorsalt Stand-in" 0x3000
  issue server 0x3001 "/O=Vorsalt Stand-in/CN=$1" "${server_ext[@]}" "subjectAltName=${names%,}"
}

test_pki() {
  [ -s client.pfx ] && [ -s serials.txt ] && return 0
  local loopback_names="subjectAltName=IP:127.0.0.1,DNS:localhost"
  ca "Vorsalt Test" 0x1000
  issue server 0x1001 "/O=Vorsalt Test/CN=127.0.0.1" "${server_ext[@]}" "$loopback_names"
  issue wrongname 0x1002 "/O=Vorsalt Test/CN=wrong.vorsalt.test" "${server_ext[@]}" \
    "subjectAltName=DNS:wrong.vorsalt.test"
  issue client 0x1004 "/O=Vorsalt Test/CN=Vorsalt Test Client" "basicConstraints=CA:FALSE" \
    "keyUsage=digitalSignature,keyEncipherment" "extendedKeyUsage=clientAuth"

  # The expired one needs fixed dates, which only "openssl ca" takes.
  key expired
  openssl req -new -key expired.key -subj "/O=Vorsalt Test/CN=127.0.0.1" -out "$work/expired.csr"
  mkdir -p "$work/ca"
  : > "$work/ca/index.txt"
  echo 1003 > "$work/ca/serial"
  cat > "$work/ca.cnf" <<CNF
[ca]
default_ca = test
[test]
database = $work/ca/index.txt
serial = $work/ca/serial
new_certs_dir = $work/ca
default_md = sha256
policy = any
copy_extensions = none
x509_extensions = server
[any]
organizationName = optional
commonName = supplied
[server]
basicConstraints = CA:FALSE
extendedKeyUsage = serverAuth
$loopback_names
CNF
  openssl ca -batch -config "$work/ca.cnf" -cert ca.crt -keyfile ca.key -in "$work/expired.csr" \
    -startdate 20200101000000Z -enddate 20210101000000Z -notext -out expired.crt 2>/dev/null

  key selfsigned
  openssl req -x509 -new -key selfsigned.key -out selfsigned.crt -days $days -set_serial 0x2001 \
    -subj "/O=Vorsalt Test/CN=127.0.0.1" -addext "$loopback_names" 2>/dev/null

  # PFX readable by old and new crypt32 alike: SHA1-3DES protection, SHA1 MAC.
  openssl pkcs12 -export -in client.crt -inkey client.key -certfile ca.crt -name "Vorsalt Test Client" \
    -keypbe PBE-SHA1-3DES -certpbe PBE-SHA1-3DES -macalg sha1 -passout "pass:$pfx_password" -out client.pfx

  for c in server selfsigned wrongname expired client; do
    openssl x509 -in $c.crt -outform DER -out $c.der
  done
  for c in server wrongname expired client selfsigned; do
    echo "$c $(openssl x509 -in $c.crt -noout -serial | cut -d= -f2)"
  done > serials.txt
}

case "$kind" in
  test) test_pki ;;
  service) service_pki "$@" ;;
  *) echo "$usage" >&2; exit 2 ;;
esac
