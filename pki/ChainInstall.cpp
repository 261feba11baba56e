#include "ChainInstall.h"
#include "CertApi.h"
#include "CertText.h"
#include "CrlInstall.h"
#include "CryptOwned.h"
#include "ErrorText.h"
#include "Seam.h"
#include "VyrnLog.h"
#include "class_http.h"

namespace {
// A system store that the installation writes: committed before it is closed with the force flag,
// since Wine may not write a store back otherwise (the commit's own result is not looked at).
struct TWrittenStoreTraits : TOwnedTraits<HCERTSTORE> {
    static BOOL Close(Handle handle) {
        CertControlStore(handle, 0, CERT_STORE_CTRL_COMMIT, nullptr);
        return CertCloseStore(handle, CERT_CLOSE_STORE_FORCE_FLAG);
    }
};
using TWrittenStore = TOwned<TWrittenStoreTraits>;

// Its first letter is a Latin C, in the question and in the error text alike.
const char NotInstalled[] = "Cертификат не был установлен в хранилище компьютера.";

bool IsSelfIssued(PCCERT_CONTEXT cert) {
    return CertNameIn128(cert, false) == CertNameIn128(cert, true);
}

// 0 the root is in "Root" (added or present), 3 the store refused it, ERROR_CANCELLED the user
// declined it and would not try again.
int InstallRoot(HCERTSTORE root, PCCERT_CONTEXT cert, std::string* errorText) {
    for (;;) {
        TCertContext stored;
        const BOOL added = Seam<TCertApi>().CertAddCertificateContextToStore(root, cert, CERT_STORE_ADD_USE_EXISTING,
                                                                             stored.Receive());
        const DWORD error = GetLastError();
        if (added)
            return 0;
        if (error != ERROR_CANCELLED) {
            LogOrStoreError(errorText, "InstallCertChainToStore. Не удается установить сертификат в хранилище ROOT.",
                            static_cast<int>(error));
            return 3;
        }
        // Windows asked the user to confirm the new root, and the user declined.
        const std::string question = std::string(NotInstalled) + "\r\nПопробовать установить сертификат повторно?";
        if (MessageBoxA(nullptr, question.c_str(), "Внимание!", MB_YESNO) != IDYES) {
            StoreErrorText(errorText, std::string(NotInstalled) + " Операция отменена пользователем.");
            return static_cast<int>(error);
        }
    }
}

// 0 the certificate is in "CA" (added or present), 4 the store refused it. Its CRLs go first:
// their failure goes only to VYRNLog, and *errorText is emptied whatever their result.
int InstallIssued(HCERTSTORE ca, PCCERT_CONTEXT cert, const std::string& site, std::string* errorText) {
    InstallCRLFromSite(site, cert, nullptr);
    if (errorText != nullptr)
        errorText->clear();
    if (!Seam<TCertApi>().CertAddCertificateContextToStore(ca, cert, CERT_STORE_ADD_USE_EXISTING, nullptr)) {
        LogOrStoreError(errorText, "InstallCertChainToStore. Не удается установить сертификат в хранилище CA.");
        return 4;
    }
    return 0;
}
}  // namespace

int InstallCertChainToStore(HCERTSTORE source, const std::string& site, std::string* errorText) {
    TWrittenStore ca(Seam<TCertApi>().CertOpenSystemStoreA(0, "CA"));
    if (!ca) {
        LogOrStoreError(errorText, "InstallCertChainToStore. The CA system store did not open.");
        return 1;
    }
    TWrittenStore root(Seam<TCertApi>().CertOpenSystemStoreA(0, "Root"));
    if (!root) {
        LogOrStoreError(errorText, "InstallCertChainToStore. The ROOT system store did not open.");
        return 2;
    }
    // The enumeration frees the context it is given back; the owner holds the current one.
    for (TCertContext cert(CertEnumCertificatesInStore(source, nullptr)); cert;
         cert.Reset(CertEnumCertificatesInStore(source, cert.Release()))) {
        const int result = IsSelfIssued(cert.Get()) ? InstallRoot(root.Get(), cert.Get(), errorText)
                                                    : InstallIssued(ca.Get(), cert.Get(), site, errorText);
        if (result != 0)
            return result;
    }
    return 0;
}

int InstallActualChainFromSite(TAllHTTP& client, const std::string& chainPath, std::string* errorText) {
    VYRNLog("Download actual CA cert chain");
    if (client.SendForm(chainPath, nullptr, VerbGet) != 0) {
        StoreErrorText(errorText,
                       "Не удается скачать актуальную цепочку сертификатов. Ошибка:\r\n" + client.GetLastErrorText());
        return 4;
    }
    VYRNLog("CA cert chain downloaded");
    int size = 0;
    const void* body = client.GetResponseWithSize(&size);
    CRYPT_DATA_BLOB message{};
    if (body != nullptr && size > 0)
        message = {static_cast<DWORD>(size), static_cast<BYTE*>(const_cast<void*>(body))};
    TCertStore chain(CertOpenStore(CERT_STORE_PROV_PKCS7, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, 0, &message));
    if (!chain) {
        LogOrStoreError(errorText, "InstallActualChainFromSite. Ошибка открытия файла с цепочкой сертификатов.");
        return 5;
    }
    VYRNLog("Installing actual CA cert chain");
    if (InstallCertChainToStore(chain.Get(), client.GetServer(), errorText) != 0)
        return 6;
    VYRNLog("Actual CA cert chain installed");
    return 0;
}
