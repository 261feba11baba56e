// What the certificate helper tests share: local-heap texts taken over, certificates compared,
// no memory for a block or a duplicate.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "CaPki.h"
#include "FailingLocalAlloc.h"
#include "LocalFree.h"

// The text of a local-heap block that the test now owns; "<null>" for none.
inline std::string Taken(char* block) {
    TLocalFree<char> owner(block);
    return block != nullptr ? std::string(block) : std::string("<null>");
}

// Which certificate of the CA PKI the context is ("" for none, "?" for another one).
inline std::string PkiNameOf(PCCERT_CONTEXT cert, std::initializer_list<const char*> candidates) {
    if (cert == nullptr)
        return "";
    for (const char* name : candidates) {
        TCertContext known = CaPkiCert(name);
        if (known && CertCompareCertificate(X509_ASN_ENCODING, cert->pCertInfo, known.Get()->pCertInfo))
            return name;
    }
    return "?";
}

// A CertDuplicateCertificateContext that finds no memory.
inline PCCERT_CONTEXT WINAPI NoDuplicate(PCCERT_CONTEXT) {
    SetLastError(static_cast<DWORD>(E_OUTOFMEMORY));
    return nullptr;
}
