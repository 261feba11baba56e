// The calls of the certificate helpers and the CRL installation whose failures Wine cannot
// produce on demand (a seam, Seam.h).
#pragma once
#include <windows.h>
#include <wincrypt.h>

struct TCertApi {
    // No memory for a name, a hexadecimal text, a usage list or the distribution points.
    decltype(&::LocalAlloc) LocalAlloc;
    // A refused duplicate: the issuer taken from the chain, the CRL installation's own copy.
    decltype(&::CertDuplicateCertificateContext) CertDuplicateCertificateContext;
    // No chain for a valid certificate.
    decltype(&::CertGetCertificateChain) CertGetCertificateChain;
    // The distribution points' second decode failing after the size query succeeded.
    decltype(&::CryptDecodeObject) CryptDecodeObject;
    // A "CA" store that refuses a CRL for another reason than holding it or a newer one.
    decltype(&::CertAddCRLContextToStore) CertAddCRLContextToStore;

    static TCertApi Real();
};
