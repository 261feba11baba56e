#include "SignSteps.h"
#include "CertText.h"
#include "CertUsage.h"
#include "CmsHelpers.h"
#include "Conversions.h"
#include "CryptOwned.h"
#include "ErrorText.h"
#include "KeyPeriod.h"
#include "LocalFree.h"
#include "Ocsptsp.h"
#include "PkiUrl.h"
#include "Registry.h"
#include "RegistryException.h"
#include "SysString.h"
#include "TimeHelpers.h"
#include "VyrnLog.h"

namespace {
// The manual-posting switch, read anew for every stamp; a value of another type is off.
bool ManualPosting() {
    int value = 0;
    try {
        RegReadInteger(HKEY_LOCAL_MACHINE, "Software\\VELTA\\Common\\CAServices", "SendRequestsManualy", &value);
    } catch (const ERegistryException&) {
        value = 0;
    }
    return value != 0;
}
}  // namespace

int Add_TimeStamp(HCRYPTMSG message, SYSTEMTIME& time, std::string* errorText) {
    BYTE* signature = nullptr;
    DWORD signatureLength = 0;
    if (!GetContentMsg(message, CMSG_ENCRYPTED_DIGEST, signature, signatureLength, 0, errorText))
        return 4;
    const TLocalFree<BYTE> signatureOwner(signature);
    int flags = 0;
    TSysString address;
    if (ManualPosting()) {
        flags += PathFlagManual;
        std::string url, why;
        if (GetPKIurl(&url, &why) == 0)
            *address.Receive() = AnsiToBstrZ(url.c_str());
        else
            VYRNLog("Не задан адрес службы штампов времени в реестре (опция SendRequestsManualy игнорируется): " + why);
    }
    CRYPT_DATA_BLOB token{}, hash{signatureLength, signature};
    TCertContext tsaCert;
    int result = Create_TimeStamp(address.Get(), token, hash, &time, tsaCert.Receive(), errorText,
                                  flags + PathFlagVerify + PathFlagCom + PathFlagApi);
    const TLocalFree<BYTE> tokenOwner(token.pbData);
    if (result != 0)
        result = 5;
    else if (Add_UNAUTH_ATTR(message, token, TimeStampTokenOid, 0, errorText) != 0)
        result = 7;
    return result;
}

int Add_OCSP(HCRYPTMSG message, PCCERT_CONTEXT cert, SYSTEMTIME& time, std::string* errorText) {
    CRYPT_DATA_BLOB response{};
    BYTE* bits = nullptr;
    DWORD bitsLength = 0;
    int result = 0;
    if (Create_OCSP(nullptr, response, cert, &time, errorText, PathFlagCom + PathFlagApi) != 0)
        result = 1;
    else if (!CreateBIT_BLOBAtribute(response.pbData, response.cbData, bits, bitsLength, errorText))
        result = 6;
    const TLocalFree<BYTE> responseOwner(response.pbData), bitsOwner(bits);
    if (result == 0 && Add_UNAUTH_ATTR(message, CRYPT_ATTR_BLOB{bitsLength, bits}, OcspResponseOid, 0, errorText) != 0)
        result = 7;
    if (result != 0)
        VYRNLog("Add_OCSP: bad end" + std::to_string(result));
    return result;
}

int IsPrivateKeyValid(PCCERT_CONTEXT cert, const SYSTEMTIME& moment, bool& valid, std::string* errorText) {
    FILETIME checkTime;
    if (!SystemTimeToFileTime(&moment, &checkTime)) {
        LogOrStoreError(errorText, "IsPrivateKeyValid. Ошибка работы со временем.");
        return 1;
    }
    const int months = CertHasEnhancedKeyUsage(cert, "1.2.643.3.37.2.1.1.2") ? 36 : 15;
    const FILETIME notBefore = cert->pCertInfo->NotBefore;
    valid = CheckPrivateKeyPeriod(notBefore, checkTime, months, 0) == 0;
    if (!valid) {
        const TLocalFree<char> serial(GetCertSerialNumberText(cert, true));
        LogOrStoreError(errorText, std::string("IsPrivateKeyValid. Срок действия закрытого ключа истек.\r\n") +
                                       "Сертификат: " + (serial.Get() ? serial.Get() : "") +
                                       ", дата выдачи: " + FileTimeToDateText(notBefore, "dd MMM yyyy") +
                                       ", дата проверки: " + FileTimeToDateText(checkTime, "dd MMM yyyy"));
    }
    return 0;
}
