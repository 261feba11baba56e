#include "Hash.h"
#include "CryptOwned.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "ProviderApi.h"
#include "Seam.h"
#include <cstdio>

namespace {

constexpr DWORD MessageEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

}  // namespace

int _hash(const char* oid, const CRYPT_DATA_BLOB& data, CRYPT_DATA_BLOB& digest, std::string* errorText) {
    CMSG_HASHED_ENCODE_INFO info{};
    info.cbSize = sizeof info;
    info.hCryptProv = 0;
    info.HashAlgorithm.pszObjId = const_cast<char*>(oid);

    const DWORD length = oid ? Seam<TProviderApi>().CryptMsgCalculateEncodedLength(MessageEncoding, 0, CMSG_HASHED,
                                                                                   &info, nullptr, data.cbData)
                             : 0;
    if (length == 0) {
        LogOrStoreError(errorText, "_hash. Getting cbEncodedBlob length failed.");
        return 1;
    }

    TLocalFree<BYTE> buffer(static_cast<BYTE*>(Seam<TProviderApi>().LocalAlloc(LMEM_FIXED, length)));
    if (!buffer.Get()) {
        LogOrStoreError(errorText, "_hash. Ошибка выделения памяти.");
        return 2;
    }

    TCryptMsg message(CryptMsgOpenToEncode(MessageEncoding, 0, CMSG_HASHED, &info, nullptr, nullptr));
    if (!message.Get()) {
        LogOrStoreError(errorText, "_hash. Getting CMSG_HASHED  failed.");
        return 3;
    }

    if (data.cbData != 0 && data.pbData == nullptr)
        SetLastError(ERROR_INVALID_PARAMETER);
    if ((data.cbData != 0 && data.pbData == nullptr) ||
        !CryptMsgUpdate(message.Get(), data.pbData, data.cbData, TRUE)) {
        LogOrStoreError(errorText, "_hash. Getting CryptMsgUpdate  failed.");
        return 4;
    }

    DWORD size = length;
    if (!CryptMsgGetParam(message.Get(), CMSG_COMPUTED_HASH_PARAM, 0, buffer.Get(), &size)) {
        LogOrStoreError(errorText, "_hash. Getting CryptMsgGetParam  failed.");
        return 5;
    }

    digest.cbData = size;
    digest.pbData = buffer.Detach();
    return 0;
}

int HashByAlgId(ALG_ID algorithm, const CRYPT_DATA_BLOB& data, CRYPT_DATA_BLOB& digest, std::string* errorText) {
    const char* oid = CertAlgIdToOID(algorithm);
    if (oid)
        return _hash(oid, data, digest, errorText);
    char message[80];
    std::snprintf(message, sizeof message, "HashByAlgId. Нет OID для алгоритма 0x%x.",
                  static_cast<unsigned>(algorithm));
    SetLastError(0);
    LogOrStoreError(errorText, message, static_cast<int>(CRYPT_E_UNKNOWN_ALGO));
    return 3;
}
