// The certification authority's test PKI (standins/make-ca-pki.sh): its files, certificates and
// openssl's view of its CRLs.
#pragma once
#include <string>
#include <vector>
#include "CryptOwned.h"

// Windows path of a file of the PKI (root.der, sub.crl, ...).
std::string CaPkiFile(const std::string& name);
std::string CaPkiBytes(const std::string& name);

// The certificate NAME.der; none when it cannot be read.
TCertContext CaPkiCert(const std::string& name);

// The CRL NAME as openssl read it when the PKI was made: "SHA-1 number lastUpdate nextUpdate",
// the SHA-1 in lower-case hexadecimal, the number in upper-case hexadecimal (two digits a
// byte), the times as 2024-01-01T00:00:00Z.
std::string OpensslCrlView(const std::string& name);

// The URLs that openssl lists in the certificate NAME's CRL distribution points, in order.
std::vector<std::string> OpensslPoints(const std::string& name);
