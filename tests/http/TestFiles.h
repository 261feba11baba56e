// Certificates of the test PKI and a peer that speaks TLS with one, for the HTTP tests.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "TempFiles.h"
#include "TestPeer.h"

// A certificate of the test PKI by its file name (client.der, ...); the caller frees it.
inline PCCERT_CONTEXT PkiCertificate(const char* name) {
    const std::string der = FileBytes(TestPkiFile(name));
    return CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                        static_cast<DWORD>(der.size()));
}

// A peer that speaks TLS with the certificate of the kind (TPeerOptions::Tls) and answers "secure"
// at /check.asp; named after the tests and the kind.
inline TPeerOptions TlsPeer(const std::string& tests, const std::string& mode, const std::string& host) {
    return PeerWith(tests + "-" + mode, R"({"/check.asp": {"body": "secure"}})", mode, host);
}
