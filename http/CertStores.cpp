#include "CertStores.h"
#include "ErrorText.h"
#include "Owned.h"

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

HCERTSTORE OpenPersonalStoreFromRegistry(HKEY root, std::string* errorText) {
    TRegKey personal;
    const LONG opened = RegOpenKeyA(root, "Software\\Microsoft\\SystemCertificates\\My\\", personal.Receive());
    if (opened != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(opened));
        LogOrStoreError(errorText, "RegOpenKey failed: ");
        return nullptr;
    }
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_REG, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                     CERT_STORE_READONLY_FLAG, personal.Get());
    if (store == nullptr)
        LogOrStoreError(errorText, "Не удается открыть хранилище личные.");
    return store;
}
