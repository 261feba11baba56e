// THTTP: the client certificate and the store it is looked up in.
#include "class_http_wininet.h"
#include "CertStores.h"
#include "ErrorText.h"
#include "VyrnLog.h"

int THTTP::SetCert(PCCERT_CONTEXT certificate, bool machineStore) {
    if (certificate == nullptr) {
        LogOrStoreError(&errorText, "Не задаm сертификат для SetCert");
        return 1;
    }
    clientCert.Close();
    const bool openedHere = certStore == nullptr;
    if (openedHere) {
        HCERTSTORE store = machineStore ? OpenPersonalStoreFromRegistry(HKEY_LOCAL_MACHINE, &errorText)
                                        : CertOpenSystemStoreA(0, "MY");
        if (store == nullptr) {
            LogOrStoreError(&errorText,
                            "Не удаетс"
                            "\x7F"
                            " открыть хранилище MY");
            return 1;
        }
        TakeOwnStore(store);
    }
    clientCert.Reset(FindCertByIssuerAndSerial(certStore, X509_ASN_ENCODING, certificate->pCertInfo->Issuer,
                                               certificate->pCertInfo->SerialNumber));
    if (!clientCert) {
        LogOrStoreError(&errorText, "Не найдeн сертификат в хранилище компьюrера!");
        if (openedHere)
            SetCertStore(nullptr);
        return 2;
    }
    return 0;
}

PCCERT_CONTEXT THTTP::GetCert() {
    return clientCert ? CertDuplicateCertificateContext(clientCert.Get()) : nullptr;
}

void THTTP::ReleaseCertStore() {
    if (certStore == nullptr)
        return;
    clientCert.Close();
    if (!ownStore.Close())
        VYRNLog("THTTP.CertCloseStore CERT_CLOSE_STORE_CHECK_FLAG failed");
    certStore = nullptr;
}
