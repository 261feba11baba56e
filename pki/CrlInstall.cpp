#include "CrlInstall.h"
#include "CertApi.h"
#include "CertChain.h"
#include "CryptOwned.h"
#include "ErrorText.h"
#include "Seam.h"
#include "VyrnLog.h"
#include <utility>

namespace {
// The first URL that holds the site text comes first, in the place of the URL that was there.
void PutSiteFirst(const std::string& site, std::vector<std::string>& urls) {
    if (site.empty() || urls.size() < 2)
        return;
    for (std::string& url : urls)
        if (url.find(site) != std::string::npos) {
            std::swap(url, urls.front());
            return;
        }
}
}  // namespace

int InstallCRLFromSite(const std::string& site, PCCERT_CONTEXT cert, std::string* errorText) {
    TCertStoreForced store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                         CERT_SYSTEM_STORE_CURRENT_USER | CERT_STORE_OPEN_EXISTING_FLAG, L"CA"));
    if (!store) {
        LogOrStoreError(errorText, "InstallCRLFromSite.Opening CA HKCU store failed.");
        return 1;
    }
    const TCertApi& api = Seam<TCertApi>();
    TCertContext held(api.CertDuplicateCertificateContext(cert));
    if (!held) {
        LogOrStoreError(errorText, "InstallCRLFromSite.CertDuplicateCertContext failed.");
        return 2;
    }
    std::vector<std::string> urls;
    if (GetCRLDistributionPoints(held.Get(), urls, errorText) != 0)
        return 3;
    PutSiteFirst(site, urls);

    std::string text;  // the failure of the last URL tried
    int result = 0;
    for (const std::string& url : urls) {
        VYRNLog("Try to download crl from: " + url);
        const TCrlContext crl(GetCRLFromURL(url, &text));
        if (!crl) {
            VYRNLog(text);
            result = 5;
            continue;
        }
        if (!api.CertAddCRLContextToStore(store.Get(), crl.Get(), CERT_STORE_ADD_NEWER, nullptr) &&
            GetLastError() != static_cast<DWORD>(CRYPT_E_EXISTS)) {
            LogOrStoreError(&text, "InstallCRLFromSite. HKCU: CertAddCRLContextToStore failed.");
            result = 3;
            break;
        }
        const TCertContext issuer(MyGetCertIssuer(held.Get(), false, &text));
        result = issuer ? 0 : 5;
        break;
    }
    if (result != 0)
        StoreErrorText(errorText, text);
    else if (errorText != nullptr)
        errorText->clear();
    return result;
}
