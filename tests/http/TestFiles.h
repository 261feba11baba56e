// Certificates of the test PKI, for the HTTP tests.
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
