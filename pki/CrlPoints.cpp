#include "CertApi.h"
#include "Conversions.h"
#include "CrlInstall.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "Seam.h"

int GetCRLDistributionPoints(PCCERT_CONTEXT cert, std::vector<std::string>& urls, std::string* errorText) {
    urls.clear();
    const CERT_INFO* info = cert->pCertInfo;
    const CERT_EXTENSION* extension = CertFindExtension(szOID_CRL_DIST_POINTS, info->cExtension, info->rgExtension);
    if (extension == nullptr)
        return 0;
    const TCertApi& api = Seam<TCertApi>();
    DWORD size = 0;
    if (!api.CryptDecodeObject(X509_ASN_ENCODING, szOID_CRL_DIST_POINTS, extension->Value.pbData,
                               extension->Value.cbData, 0, nullptr, &size)) {
        LogOrStoreError(errorText, "GetCRLDistributionPoints. CryptDecodeObject szOID_CRL_DIST_POINTS error.");
        return 1;
    }
    TLocalFree<void> points(api.LocalAlloc(LMEM_FIXED, size));
    if (!points.Get()) {
        LogOrStoreError(errorText, "GetCRLDistributionPoints. LocalAlloc error.");
        return 2;
    }
    if (!api.CryptDecodeObject(X509_ASN_ENCODING, szOID_CRL_DIST_POINTS, extension->Value.pbData,
                               extension->Value.cbData, 0, points.Get(), &size))
        return 0;
    const auto* list = static_cast<const CRL_DIST_POINTS_INFO*>(points.Get());
    for (DWORD p = 0; p < list->cDistPoint; ++p) {
        const CRL_DIST_POINT_NAME& name = list->rgDistPoint[p].DistPointName;
        if (name.dwDistPointNameChoice != CRL_DIST_POINT_FULL_NAME)
            continue;
        for (DWORD e = 0; e < name.FullName.cAltEntry; ++e) {
            const CERT_ALT_NAME_ENTRY& entry = name.FullName.rgAltEntry[e];
            if (entry.dwAltNameChoice != CERT_ALT_NAME_URL)
                continue;
            TLocalFree<char> url(WideToAnsi(entry.pwszURL));
            urls.push_back(url.Get() != nullptr ? url.Get() : "");
        }
    }
    return 0;
}
