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
#   make-pki.sh ca OUT_DIR
#     the certification authority's test PKI: UTF-8 names, fixed validity dates, CRLs for each
#     issuer. Each certificate NAME gives NAME.crt (PEM), NAME.der and NAME.key; each CRL NAME
#     gives NAME.crl (DER), NAME.crl.pem, NAME.crl.b64 (base64 in lines of 64) and NAME.crl.b64line
#     (base64 on one line).
#     The chain:
#       root          "ЦС_3", self-signed, 2020-2050
#       sub           "Подчинённый ЦС_3", issued by root; serial 00C1D2E3F40506; CRL distribution
#                     points on several hosts (see sub_dp*), with entries that are no URLs (an e-mail
#                     address, a directory name)
#       end           "Иванов Иван Иванович", issued by sub; serial 1A2B3C4D; enhanced key usages
#                     clientAuth, emailProtection, 1.2.643.3.37.2.1.1.2; points: a skipped file
#                     (ca-kqmr(4)), an https point, the authority's own site
#     Certificates of sub for single cases:
#       expired (2010-2012), notyet (2060-2070), nocn (no common name), longcn (64 Cyrillic
#       letters), eku-longer (only 1.2.643.3.37.2.1.1.25), eku-shorter (only 1.2.643.3.37.2.1.1),
#       noeku (no enhanced key usage), badcdp (a distribution points extension that does not decode),
#       relname (a distribution point named relative to the CRL issuer between two URLs)
#     A broken chain: broken, issued by orphan ("Посторонний ЦС"), whose certificate no store holds.
#     nocn-root: self-signed without a common name.
#     Roots named "ЦС_3" besides root, by NotBefore: root-2015, root-2023a and root-2023b (the same
#     NotBefore); near names: name-cs2 ("ЦС_2"), name-cs30 ("ЦС_30"), name-lower ("цс_3"), 2025.
#     CRLs: root (of root), sub (of sub, number 1, 2024-01-01), sub-newer (of sub, number 2,
#     2024-03-01, end revoked), orphan (of orphan).
#     points.txt: a line a certificate with distribution points: name and the URLs openssl lists.
#     crls.txt: a line a CRL as openssl reads it: name, SHA-1 of the DER, CRL number (hex),
#     lastUpdate, nextUpdate (ISO 8601).
#     certs.txt: a line a certificate: name and the SHA-1 of its DER, as openssl gives it.
#     The chain files of the authority's web site, PKCS#7 made by openssl crl2pkcs7, certificates
#     in the order listed: chain.p7b (root, sub), chain-end.p7b (root, sub, end), root.p7b (root),
#     empty.p7b (none), chain.p7b.pem (chain.p7b as PEM), chain-crls.p7b (root, sub and the CRL
#     sub inside), chain-truncated.p7b (the first half of chain.p7b).
#     The distribution points' hosts resolve to loopback in the test sandbox (tools/sandbox-hosts).
#     The signing service's peers and signers, issued by sub:
#       tsa           "Служба штампов времени" (critical timeStamping), with tsa.cnf for "openssl ts -reply"
#       tsa-expired   "Служба штампов времени просроченная", as tsa, valid in 2021 only
#       tsa-notyet    "Служба штампов времени будущая", as tsa, valid 2040-2045
#       ocsp          "Служба OCSP" (OCSPSigning), the responder of ocsp-index.txt (sub's database)
#       signer        "Подписант", NotBefore a day before the PKI was made; OCSP at http://127.0.4.1/ocsp
#       signer-old    "Подписант давний", NotBefore 20 months before (past 15 months)
#       signer-qual   "Подписант квалифицированный", NotBefore 20 months before, usage 1.2.643.3.37.2.1.1.2
#                     (36 months)
#     Each signer's key also as NAME.msblob (a PRIVATEKEYBLOB for CryptImportKey).
set -euo pipefail
usage="usage: make-pki.sh test OUT_DIR | make-pki.sh service OUT_DIR ADDRESS... | make-pki.sh ca OUT_DIR"
kind=${1:?$usage}
out=${2:?$usage}
shift 2
pfx_password=vorsalt
days=3650
mkdir -p "$out"
cd "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# An RSA key whose private parts all have their full lengths (the private exponent that of the
# modulus, the primes, their exponents and the coefficient half of it): Wine cannot sign with a
# key, imported from a PFX, whose coefficient is a byte short.
full_length_key() {
  openssl rsa -in "$1" -traditional -outform DER 2>/dev/null | openssl asn1parse -inform DER |
    awk -F: '/INTEGER/ { n++; if (n >= 4 && length($NF) != (n == 4 ? 512 : 256)) short = 1 } END { exit short }'
}
key() { until openssl genrsa -out "$1.key" 2048 2>/dev/null && full_length_key "$1.key"; do :; done; }

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


# The signing service's time-stamp and OCSP services and its signers, issued by sub of ca_pki.
signing_peers() {
  cat >> "$work/ext.cnf" <<'CNF'
[tsa_ext]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature,nonRepudiation
extendedKeyUsage = critical,timeStamping
[ocsp_ext]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = OCSPSigning
[signer_ext]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature,nonRepudiation
authorityInfoAccess = OCSP;URI:http://127.0.4.1/ocsp
[signer_qual_ext]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature,nonRepudiation
authorityInfoAccess = OCSP;URI:http://127.0.4.1/ocsp
extendedKeyUsage = clientAuth, 1.2.643.3.37.2.1.1.2
CNF
  local yesterday before
  yesterday=$(date -u -d '-1 day' +%Y%m%d%H%M%SZ)
  before=$(date -u -d '-20 months' +%Y%m%d%H%M%SZ)
  certificate tsa sub 2001 20210101000000Z 20480101000000Z "$o/CN=Служба штампов времени" tsa_ext
  certificate ocsp sub 2002 20210101000000Z 20480101000000Z "$o/CN=Служба OCSP" ocsp_ext
  certificate signer sub 2003 "$yesterday" 20480101000000Z "$o/CN=Подписант" signer_ext
  certificate signer-old sub 2004 "$before" 20480101000000Z "$o/CN=Подписант давний" signer_ext
  certificate signer-qual sub 2005 "$before" 20480101000000Z "$o/CN=Подписант квалифицированный" signer_qual_ext
  for name in signer signer-old signer-qual; do
    openssl rsa -in "$name.key" -outform MSBLOB -out "$name.msblob" 2>/dev/null
  done
  cp "$work/db/sub/index.txt" ocsp-index.txt
  certificate tsa-expired sub 2006 20210101000000Z 20220101000000Z "$o/CN=Служба штампов времени просроченная" tsa_ext
  certificate tsa-notyet sub 2007 20400101000000Z 20450101000000Z "$o/CN=Служба штампов времени будущая" tsa_ext
  cat > tsa.cnf <<CNF
[tsa]
default_tsa = tsa_config
[tsa_config]
serial = \$ENV::TSA_SERIAL
signer_digest = sha256
default_policy = 1.2.643.2.2.38.4
digests = sha1, sha256
accuracy = secs:1
ordering = no
tsa_name = no
ess_cert_id_chain = no
ess_cert_id_alg = sha1
CNF
}

ca_pki() {
  [ -s crls.txt ] && return 0
  cat > "$work/ca.cnf" <<'CNF'
[ca]
default_ca = issuer
[issuer]
database = $ENV::DB/index.txt
serial = $ENV::DB/serial
crlnumber = $ENV::DB/crlnumber
new_certs_dir = $ENV::DB
default_md = sha256
policy = any
unique_subject = no
copy_extensions = none
crl_extensions = crl_ext
[any]
commonName = optional
organizationName = optional
organizationalUnitName = optional
[crl_ext]
authorityKeyIdentifier = keyid:always
CNF

  cat > "$work/ext.cnf" <<'CNF'
[root_ext]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash

[sub_ext]
basicConstraints = critical,CA:TRUE,pathlen:0
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid:always
crlDistributionPoints = sub_dp1, sub_dp2, sub_dp3
[sub_dp1]
fullname = URI:http://crl-a.vorsalt.test/cdp/root3.crl, email:crl@vorsalt.test, URI:http://crl-b.vorsalt.test/cdp/root3.crl
[sub_dp2]
fullname = dirName:sub_dp2_name, URI:http://crl-c.vorsalt.test/cdp/root3.crl
[sub_dp2_name]
O = Vorsalt
[sub_dp3]
fullname = URI:http://pki-ca.vorsalt.test/cdp/root3.crl

[leaf]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature,nonRepudiation
authorityKeyIdentifier = keyid
[end_ext]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature,nonRepudiation
authorityKeyIdentifier = keyid
extendedKeyUsage = clientAuth, emailProtection, 1.2.643.3.37.2.1.1.2
crlDistributionPoints = URI:http://crl-a.vorsalt.test/cdp/ca-kqmr(4).crl, URI:https://crl-b.vorsalt.test/cdp/sub3.crl, URI:http://pki-ca.vorsalt.test/cdp/sub3.crl
[eku_longer_ext]
basicConstraints = CA:FALSE
extendedKeyUsage = 1.2.643.3.37.2.1.1.25
[eku_shorter_ext]
basicConstraints = CA:FALSE
extendedKeyUsage = 1.2.643.3.37.2.1.1
[relname_ext]
basicConstraints = CA:FALSE
crlDistributionPoints = URI:http://crl-a.vorsalt.test/cdp/sub3.crl, relname_dp, URI:http://crl-b.vorsalt.test/cdp/sub3.crl
[relname_dp]
relativename = relname_dp_name
[relname_dp_name]
CN = sub3
[badcdp_ext]
basicConstraints = CA:FALSE
crlDistributionPoints = DER:0500
[broken_ext]
basicConstraints = CA:FALSE
crlDistributionPoints = URI:http://crl-c.vorsalt.test/cdp/orphan.crl
CNF

  # certificate NAME ISSUER SERIAL FROM TO SUBJECT EXTENSIONS (ISSUER "-": self-signed; dates
  # YYYYMMDDHHMMSSZ)
  certificate() {
    local name=$1 issuer=$2 serial=$3 from=$4 to=$5 subject=$6 extensions=$7
    local db="$work/db/$issuer"
    [ "$issuer" = - ] && db="$work/db/$name"
    mkdir -p "$db"
    [ -e "$db/index.txt" ] || : > "$db/index.txt"
    echo "$serial" > "$db/serial"
    openssl genrsa -out "$name.key" 2048 2>/dev/null
    openssl req -new -utf8 -key "$name.key" -subj "$subject" -out "$work/$name.csr"
    local signer=(-cert "$issuer.crt" -keyfile "$issuer.key")
    [ "$issuer" = - ] && signer=(-selfsign -keyfile "$name.key")
    DB=$db openssl ca -batch -config "$work/ca.cnf" "${signer[@]}" -in "$work/$name.csr" -utf8 -preserveDN \
      -startdate "$from" -enddate "$to" -extfile "$work/ext.cnf" -extensions "$extensions" -notext \
      -out "$name.crt" 2>/dev/null
    openssl x509 -in "$name.crt" -outform DER -out "$name.der"
  }

  # crl NAME ISSUER NUMBER LAST_UPDATE NEXT_UPDATE [REVOKED...]
  crl() {
    local name=$1 issuer=$2 number=$3 last=$4 next=$5
    shift 5
    local db="$work/db/$issuer"
    for revoked in "$@"; do
      DB=$db openssl ca -config "$work/ca.cnf" -cert "$issuer.crt" -keyfile "$issuer.key" -revoke "$revoked.crt" \
        -crl_reason keyCompromise 2>/dev/null
    done
    echo "$number" > "$db/crlnumber"
    DB=$db openssl ca -config "$work/ca.cnf" -cert "$issuer.crt" -keyfile "$issuer.key" -gencrl \
      -crl_lastupdate "$last" -crl_nextupdate "$next" -out "$name.crl.pem" 2>/dev/null
    openssl crl -in "$name.crl.pem" -outform DER -out "$name.crl"
    openssl base64 -in "$name.crl" -out "$name.crl.b64"
    openssl base64 -A -in "$name.crl" -out "$name.crl.b64line"
    local view=(openssl crl -in "$name.crl" -inform DER -noout -dateopt iso_8601)
    printf '%s %s %s %s %s\n' "$name" "$(openssl dgst -sha1 -r "$name.crl" | cut -d' ' -f1)" \
      "$("${view[@]}" -crlnumber | sed 's/.*=0x//')" "$("${view[@]}" -lastupdate | cut -d= -f2 | tr ' ' T)" \
      "$("${view[@]}" -nextupdate | cut -d= -f2 | tr ' ' T)" >> "$work/crls.txt"
  }

  o="/O=ВАРТО Тест"
  certificate root - 3C 20200101000000Z 20500101000000Z "$o/CN=ЦС_3" root_ext
  certificate sub root 00C1D2E3F40506 20200601000000Z 20490101000000Z "$o/CN=Подчинённый ЦС_3" sub_ext
  certificate end sub 1A2B3C4D 20210101000000Z 20480101000000Z "$o/CN=Иванов Иван Иванович" end_ext
  certificate expired sub 1001 20100101000000Z 20120101000000Z "$o/CN=Просроченный" leaf
  certificate notyet sub 1002 20600101000000Z 20700101000000Z "$o/CN=Будущий" leaf
  certificate nocn sub 1003 20210101000000Z 20480101000000Z "$o/OU=Без имени" leaf
  certificate longcn sub 1004 20210101000000Z 20480101000000Z \
    "$o/CN=$(printf 'Я%.0s' {1..32})$(printf 'ж%.0s' {1..32})" leaf
  certificate eku-longer sub 1005 20210101000000Z 20480101000000Z "$o/CN=ЭКУ длиннее" eku_longer_ext
  certificate eku-shorter sub 1006 20210101000000Z 20480101000000Z "$o/CN=ЭКУ короче" eku_shorter_ext
  certificate noeku sub 1007 20210101000000Z 20480101000000Z "$o/CN=Без ЭКУ" leaf
  certificate badcdp sub 1008 20210101000000Z 20480101000000Z "$o/CN=Испорченные точки" badcdp_ext
  certificate relname sub 1009 20210101000000Z 20480101000000Z "$o/CN=Относительное имя" relname_ext

  certificate orphan - 7001 20200101000000Z 20500101000000Z "$o/CN=Посторонний ЦС" root_ext
  certificate broken orphan 7002 20210101000000Z 20480101000000Z "$o/CN=Без цепочки" broken_ext

  certificate nocn-root - 7003 20200101000000Z 20500101000000Z "$o/OU=Без имени" root_ext

  certificate root-2015 - 15 20150101000000Z 20350101000000Z "$o/CN=ЦС_3" root_ext
  certificate root-2023a - 023A 20230101000000Z 20430101000000Z "$o/CN=ЦС_3" root_ext
  certificate root-2023b - 023B 20230101000000Z 20430101000000Z "$o/CN=ЦС_3" root_ext
  certificate name-cs2 - 02 20250101000000Z 20450101000000Z "$o/CN=ЦС_2" root_ext
  certificate name-cs30 - 30 20250101000000Z 20450101000000Z "$o/CN=ЦС_30" root_ext
  certificate name-lower - 33 20250101000000Z 20450101000000Z "$o/CN=цс_3" root_ext

  crl root root 01 20240101000000Z 20340101000000Z
  crl sub sub 01 20240101000000Z 20340101000000Z
  crl sub-newer sub 02 20240301000000Z 20340301000000Z end
  crl orphan orphan 01 20240101000000Z 20340101000000Z
  signing_peers
  for name in sub end broken relname; do
    echo "$name $(openssl x509 -in "$name.crt" -noout -ext crlDistributionPoints | grep -o 'URI:[^ ]*' | cut -c5- | tr '\n' ' ')"
  done > points.txt
  for cert in *.der; do
    echo "${cert%.der} $(openssl dgst -sha1 -r "$cert" | cut -d' ' -f1)"
  done > certs.txt

  # p7b NAME FORMAT CRL CERTIFICATE...: a chain file of the certificates in that order, with the
  # CRL inside ("-": none)
  p7b() {
    local name=$1 format=$2 crl=$3 files=()
    shift 3
    for cert in "$@"; do files+=(-certfile "$cert.crt"); done
    local inside=(-nocrl)
    [ "$crl" = - ] || inside=(-in "$crl.crl.pem")
    openssl crl2pkcs7 "${inside[@]}" "${files[@]}" -outform "$format" -out "$name"
  }
  p7b chain.p7b DER - root sub
  p7b chain-end.p7b DER - root sub end
  p7b root.p7b DER - root
  p7b empty.p7b DER -
  p7b chain.p7b.pem PEM - root sub
  p7b chain-crls.p7b DER sub root sub
  head -c $(($(stat -c %s chain.p7b) / 2)) chain.p7b > chain-truncated.p7b
  mv "$work/crls.txt" crls.txt
}

case "$kind" in
  test) test_pki ;;
  ca) ca_pki ;;
  service) service_pki "$@" ;;
  *) echo "$usage" >&2; exit 2 ;;
esac
