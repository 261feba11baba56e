#include "CertUsage.h"
#include "CertApi.h"
#include "LocalFree.h"
#include "Seam.h"
#include <cstring>

bool CertHasEnhancedKeyUsage(PCCERT_CONTEXT cert, const char* prefix) {
    DWORD size = 0;
    if (prefix == nullptr || !CertGetEnhancedKeyUsage(cert, 0, nullptr, &size))
        return false;
    TLocalFree<CERT_ENHKEY_USAGE> usage(static_cast<PCERT_ENHKEY_USAGE>(Seam<TCertApi>().LocalAlloc(LPTR, size)));
    if (!usage.Get() || !CertGetEnhancedKeyUsage(cert, 0, usage.Get(), &size))
        return false;
    const size_t length = std::strlen(prefix);
    for (DWORD i = 0; i < usage.Get()->cUsageIdentifier; ++i)
        if (std::strncmp(usage.Get()->rgpszUsageIdentifier[i], prefix, length) == 0)
            return true;
    return false;
}
