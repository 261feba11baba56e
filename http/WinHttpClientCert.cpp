// TWinHTTP: the client certificate, chosen by issuer and serial number and looked up again in
// the certificate store whenever it is needed.
#include "CertStores.h"
#include "ClientStep.h"
#include "Conversions.h"
#include "CryptOwned.h"
#include "Seam.h"
#include "VyrnLog.h"
#include "WinHttpApi.h"
#include "class_http_winhttp.h"

namespace {
// A zero-filled local-heap copy of the blob with a zero byte after it.
bool CopyBlob(const CRYPT_DATA_BLOB& source, TLocalFree<unsigned char>& owner, CRYPT_DATA_BLOB& copy) {
    owner.Reset(reinterpret_cast<unsigned char*>(LocalAllocCopy(source.pbData, source.cbData)));
    copy.cbData = owner.Get() != nullptr ? source.cbData : 0;
    copy.pbData = owner.Get();
    return owner.Get() != nullptr;
}
}  // namespace

void TWinHTTP::ReleaseCertStore() {
    if (certStore == nullptr)
        return;
    if (!ownStore.Close())
        VYRNLog("TWinHTTP.CertCloseStore CERT_CLOSE_STORE_CHECK_FLAG failed");
    certStore = nullptr;
}

int TWinHTTP::SetCert(PCCERT_CONTEXT certificate, bool machineStore) {
    errorText.clear();
    if (certificate == nullptr || certificate->pCertInfo == nullptr) {
        LogOrStoreError(&errorText, "Не задан сертификат для SetCert", 0, false, false);
        return 1;
    }
    certKind = 0;
    certIssuer = CERT_NAME_BLOB{};
    certSerial = CRYPT_INTEGER_BLOB{};
    if (certStore == nullptr) {
        HCERTSTORE store = machineStore ? OpenPersonalStoreFromRegistry(HKEY_LOCAL_MACHINE, &errorText)
                                        : CertOpenSystemStoreA(0, "MY");
        if (store == nullptr) {
            LogOrStoreError(&errorText, "Не удается открыть хранилище MY", 0, false, false);
            return 1;
        }
        TakeOwnStore(store);
    }
    const CERT_INFO& info = *certificate->pCertInfo;
    if (!CopyBlob(info.Issuer, issuerBytes, certIssuer) || !CopyBlob(info.SerialNumber, serialBytes, certSerial)) {
        certIssuer = CERT_NAME_BLOB{};
        certSerial = CRYPT_INTEGER_BLOB{};
        LogOrStoreError(&errorText, "Не задан сертификат для SetCert", ERROR_NOT_ENOUGH_MEMORY, false, false);
        return 1;
    }
    certKind = 1;
    return 0;
}

PCCERT_CONTEXT TWinHTTP::GetCert() {
    if (certStore == nullptr || certKind == 0)
        return nullptr;
    return FindCertByIssuerAndSerial(certStore, certKind, certIssuer, certSerial);
}

int TWinHTTP::ApplyClientCert() {
    return GuardStep(
        &errorText, "TWinHTTP: Неизвестная ошибка при попытке установки сертификата для сессии.", 3, true, [&] {
            if (!handles->Request) {
                LogOrStoreError(&errorText, "TWinHTTP: Не открыт запрос.", 0, false, false);
                return 1;
            }
            const TCertContext found(
                certKind != 0 ? FindCertByIssuerAndSerial(certStore, certKind, certIssuer, certSerial) : nullptr);
            if (certKind != 0 && found.Get() == nullptr) {
                LogOrStoreError(&errorText, "Не найден сертификат в хранилище компьютера!", 0, false, false);
                return 2;
            }
            if (!secure)
                return 0;
            const TWinHttpApi& api = Seam<TWinHttpApi>();
            const BOOL set = found.Get() != nullptr
                                 ? api.WinHttpSetOption(handles->Request.Get(), WINHTTP_OPTION_CLIENT_CERT_CONTEXT,
                                                        const_cast<CERT_CONTEXT*>(found.Get()), sizeof(CERT_CONTEXT))
                                 : api.WinHttpSetOption(handles->Request.Get(), WINHTTP_OPTION_CLIENT_CERT_CONTEXT,
                                                        WINHTTP_NO_CLIENT_CERT_CONTEXT, 0);
            if (!set) {
                LogOrStoreError(&errorText,
                                found.Get() != nullptr
                                    ? "Не возможно установить сертификат для сессии."
                                    : "Не возможно установить сертификат для сессии.\r\nТребуется ОС не ниже "
                                      "XP SP3 или Win2003 Server SP2.",
                                0, false, true);
                VYRNLog(errorText);
                return 4;
            }
            return 0;
        });
}
