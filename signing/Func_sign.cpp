#include "Func_sign.h"
#include <cstring>
#include <string>
#include "CmsHelpers.h"
#include "CryptOwned.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "Ocsptsp.h"
#include "Seam.h"
#include "SigningApi.h"
#include "SignSteps.h"
#include "VyrnLog.h"

namespace {
const int CancelledByUser = static_cast<int>(0x8010006E);  // SCARD_W_CANCELLED_BY_USER
const char *const GostKeyOid = "1.2.643.2.2.19", *const GostHashOid = "1.2.643.2.2.9";
const char* const CancelText =
    "SignLow. Не удается получить доступ к закрытому ключу сертификата. Операция отменена пользователем.";

struct TSwitches {
    bool timeStamp, ocsp, detached, keyPeriod, cacheKey;
};

void Report(SignProgressCallback progress, const char* stage, DWORD start) {
    if (progress != nullptr)
        progress((std::string(stage) + std::to_string(static_cast<unsigned long>(GetTickCount() - start))).c_str(), 0);
}

int OpenMessage(TCryptMsg& message, CMSG_SIGNED_ENCODE_INFO& info, bool detached, std::string* errorText) {
    try {
        message.Reset(
            CryptMsgOpenToEncode(MsgEncoding, detached ? CMSG_DETACHED_FLAG : 0, CMSG_SIGNED, &info, nullptr, nullptr));
    } catch (...) {
        LogOrStoreError(errorText,
                        "SignLow. Невозможно создать криптографическое сообщение. CryptMsgOpenToEncode "
                        "exception error.");
        return 3;
    }
    if (!message) {
        LogOrStoreError(errorText,
                        "SignLow. Невозможно создать криптографическое сообщение. CryptMsgOpenToEncode "
                        "failed.");
        return 3;
    }
    return 0;
}

int SignCore(const BYTE* data, DWORD dataLength, BYTE** signedMessage, DWORD* signedLength, PCCERT_CONTEXT signer,
             const char* pin, const TSwitches& switches, std::string* errorText, SignProgressCallback progress) {
    *signedMessage = nullptr;
    VYRNLog("SignLow Start");
    const DWORD start = GetTickCount();
    HCRYPTPROV provider = 0;
    DWORD keySpec = 0;
    BOOL release = FALSE;
    const DWORD acquireFlags = CRYPT_ACQUIRE_USE_PROV_INFO_FLAG | (switches.cacheKey ? CRYPT_ACQUIRE_CACHE_FLAG : 0);
    if (!Seam<TSigningApi>().CryptAcquireCertificatePrivateKey(signer, acquireFlags, nullptr, &provider, &keySpec,
                                                               &release)) {
        if (GetLastError() == static_cast<DWORD>(CancelledByUser)) {
            StoreErrorText(errorText, CancelText);
            return CancelledByUser;
        }
        LogOrStoreError(errorText,
                        "SignLow. Не удается получить доступ к закрытому ключу сертификата. "
                        "CryptAcquireCertificatePrivateKey failed.");
        return 1;
    }
    const TCryptProv releasedProvider(release ? provider : 0);  // released at the end when the platform says so
    VYRNLog("CryptAcquireCertificatePrivateKey good");
    if (pin != nullptr) {
        CryptSetProvParam(provider, PP_KEYEXCHANGE_PIN, reinterpret_cast<const BYTE*>(pin), 0);
        VYRNLog("pin seted");
    }
    MY_CRYPT_ATRIBUTE comment;
    if (CreateCommentAtribute("qTvo", "1.0", comment, errorText) != 0)
        return 2;
    VYRNLog("coment & ident created");
    CRYPT_ATTRIBUTE signedAttributes[1];
    memcpy(&signedAttributes[0], &comment, sizeof(CRYPT_ATTRIBUTE));

    const char* hashOid = strcmp(signer->pCertInfo->SubjectPublicKeyInfo.Algorithm.pszObjId, GostKeyOid) == 0
                              ? GostHashOid
                              : GetHashOidFromCert(signer, errorText);
    if (hashOid == nullptr)
        return 3;
    CMSG_SIGNER_ENCODE_INFO signerInfo{};
    signerInfo.cbSize = 48;  // the basic form: identified by issuer and serial number
    signerInfo.pCertInfo = signer->pCertInfo;
    signerInfo.hCryptProv = provider;
    signerInfo.dwKeySpec = keySpec;
    signerInfo.HashAlgorithm.pszObjId = const_cast<LPSTR>(hashOid);
    signerInfo.cAuthAttr = 1;
    signerInfo.rgAuthAttr = signedAttributes;
    CERT_BLOB certificate{signer->cbCertEncoded, signer->pbCertEncoded};
    CMSG_SIGNED_ENCODE_INFO messageInfo{};
    messageInfo.cbSize = 28;  // the basic form, without the attribute certificates
    messageInfo.cSigners = 1;
    messageInfo.rgSigners = &signerInfo;
    messageInfo.cCertEncoded = 1;
    messageInfo.rgCertEncoded = &certificate;

    VYRNLog("try to CryptMsgOpenToEncode");
    TCryptMsg message;
    if (OpenMessage(message, messageInfo, switches.detached, errorText) != 0)
        return 3;
    VYRNLog("try to CryptMsgOpenToEncode: good");
    if (!CryptMsgUpdate(message.Get(), data, dataLength, TRUE)) {
        if (GetLastError() == static_cast<DWORD>(CancelledByUser)) {
            StoreErrorText(errorText, CancelText);
            return CancelledByUser;
        }
        LogOrStoreError(errorText, "SignLow. Не удается подписать сообщение. CryptMsgUpdate failed.");
        return 4;
    }
    VYRNLog("CryptMsgUpdate: good");
    if (!ReloadMsg(message, errorText))
        return 5;
    VYRNLog("ReloadMsg: good");
    Report(progress, "SignLow: Подпись за ", start);

    SYSTEMTIME stampTime{}, ocspTime{};
    if (switches.timeStamp) {
        const DWORD stageStart = GetTickCount();
        VYRNLog("try Add_TimeStamp");
        if (Add_TimeStamp(message.Get(), stampTime, errorText) != 0)
            return 6;
        Report(progress, "SignLow: Штамп времени за ", stageStart);
        VYRNLog("Add_TimeStamp: good");
    } else {
        GetSystemTime(&stampTime);
    }
    if (switches.ocsp) {
        VYRNLog("try Add_OCSP");
        const DWORD stageStart = GetTickCount();
        if (Add_OCSP(message.Get(), signer, ocspTime, errorText) != 0)
            return 7;
        Report(progress, "SignLow: OCSP за ", stageStart);
        VYRNLog("Add_OCSP: good");
    }
    if (switches.timeStamp && switches.ocsp) {
        if (CompareTimes(&stampTime, &ocspTime, errorText) != 0)
            return 8;
        VYRNLog("CompareTimes: good");
    }
    if (switches.keyPeriod) {
        VYRNLog("try IsPrivateKeyValid");
        bool valid = false;
        if (IsPrivateKeyValid(signer, stampTime, valid, errorText) != 0 || !valid)
            return 9;
        VYRNLog("IsPrivateKeyValid: good");
    }
    VYRNLog("try GetMsgParam CMSG_ENCODED_MESSAGE");
    if (!GetContentMsg(message.Get(), CMSG_ENCODED_MESSAGE, *signedMessage, *signedLength, 0, errorText))
        return 10;
    VYRNLog("AllGood");
    return 0;
}
}  // namespace

extern "C" int __stdcall SignLow(const BYTE* data, DWORD dataLength, BYTE** signedMessage, DWORD* signedLength,
                                 PCCERT_CONTEXT signer, const char* pin, DWORD timeStamp, DWORD ocsp, DWORD detached,
                                 DWORD keyPeriod, DWORD cacheKey, char* errorText, SignProgressCallback progress) {
    const auto on = [](DWORD slot) { return (slot & 0xFF) != 0; };
    const TSwitches switches{on(timeStamp), on(ocsp), on(detached), on(keyPeriod), on(cacheKey)};
    std::string text;
    int result;
    BYTE* ownMessage = nullptr;
    DWORD ownLength = 0;
    BYTE** message = signedMessage ? signedMessage : &ownMessage;
    DWORD* length = signedLength ? signedLength : &ownLength;
    if (signer == nullptr || signer->pCertInfo == nullptr) {
        *message = nullptr;
        text = "SignLow. Не удается получить доступ к закрытому ключу сертификата. Сертификат не задан.";
        result = 1;
    } else if (data == nullptr && dataLength != 0) {
        *message = nullptr;
        text = "SignLow. Не удается подписать сообщение. Данные не заданы.";
        result = 4;
    } else {
        static const BYTE none = 0;
        result = SignCore(data ? data : &none, dataLength, message, length, signer, pin, switches, &text, progress);
    }
    const TLocalFree<BYTE> unwanted(ownMessage);  // the message when the caller wants none
    if (result == 0) {
        VYRNLog("SignLow end");
        return 0;
    }
    VYRNLog("SignLow bad end" + std::to_string(result));
    CopySignLowErrorText(text, errorText);
    return result;
}

void CopySignLowErrorText(const std::string& text, char* buffer) {
    if (buffer == nullptr)
        return;
    const size_t kept = text.size() < SignLowErrorTextCapacity ? text.size() : SignLowErrorTextCapacity - 1;
    memcpy(buffer, text.data(), kept);
    buffer[kept] = '\0';
}
