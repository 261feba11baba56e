#include "CertStores.h"
#include "ErrorText.h"

PCCERT_CONTEXT FindCertByIssuerAndSerial(HCERTSTORE store, DWORD, CERT_NAME_BLOB issuer,
                                         CRYPT_INTEGER_BLOB serialNumber) {
    if (store == nullptr)
        return nullptr;
    PCCERT_CONTEXT certificate = nullptr;
    while ((certificate = CertEnumCertificatesInStore(store, certificate)) != nullptr) {
        CERT_INFO* info = certificate->pCertInfo;
        if (CertCompareIntegerBlob(&info->Issuer, &issuer) &&
            CertCompareIntegerBlob(&info->SerialNumber, &serialNumber))
            return certificate;  // the enumeration gives it up to the caller
    }
    return nullptr;
}

namespace {
class TRegKey {
public:
    ~TRegKey() {
        if (key != nullptr)
            RegCloseKey(key);
    }
    HKEY key = nullptr;
};

void StoreError(std::string* errorText, const char* message) {
    if (errorText != nullptr)
        *errorText = FormatErrorText(message, 0, false, false);
}
}  // namespace

HCERTSTORE OpenPersonalStoreFromRegistry(HKEY root, std::string* errorText) {
    TRegKey personal;
    const LONG opened = RegOpenKeyA(root, "Software\\Microsoft\\SystemCertificates\\My\\", &personal.key);
    if (opened != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(opened));
        StoreError(errorText, "RegOpenKey failed: ");
        return nullptr;
    }
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_REG, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                     CERT_STORE_READONLY_FLAG, personal.key);
    if (store == nullptr)
        StoreError(errorText, "Не удается открыть хранилище личные.");
    return store;
}
