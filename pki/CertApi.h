// The calls of the certificate helpers, the CRL installation and the chain installation whose
// failures Wine cannot produce on demand (a seam, Seam.h).
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
    // The chain's certificates going into "Root" and "CA": Windows asks the user to confirm a new
    // root and fails the add with ERROR_CANCELLED when the user declines, which Wine never does (it
    // adds roots without asking); a store that refuses a certificate.
    decltype(&::CertAddCertificateContextToStore) CertAddCertificateContextToStore;

    // The chain installation's "CA" or "Root" that does not open: Wine opens every current user's
    // system store, making a missing one.
    decltype(&::CertOpenSystemStoreA) CertOpenSystemStoreA;

    static TCertApi Real();
};
