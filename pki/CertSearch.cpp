#include "CertSearch.h"
#include "CertText.h"
#include "CryptOwned.h"

PCCERT_CONTEXT FindNewestCertByCN(const char* storeName, const char* commonName) {
    if (commonName == nullptr)
        return nullptr;
    TCertStore store(CertOpenSystemStoreA(0, storeName));
    if (!store)
        return nullptr;
    TCertContext best;
    bool heldAny = false;
    PCCERT_CONTEXT cert = nullptr;
    while ((cert = CertEnumCertificatesInStore(store.Get(), cert)) != nullptr) {
        heldAny = true;
        if (CertNameIn128(cert, false) != commonName)
            continue;
        if (!best || CompareFileTime(&cert->pCertInfo->NotBefore, &best.Get()->pCertInfo->NotBefore) > 0)
            best.Reset(CertDuplicateCertificateContext(cert));
    }
    if (!heldAny)  // no context keeps the store: it goes now, forced
        TCertStoreForced(store.Release()).Close();
    return best.Release();
}
