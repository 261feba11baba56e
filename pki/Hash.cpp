#include "Hash.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "MsgEncodedLength.h"
#include "PkiSeam.h"
#include <cstdio>

namespace {

constexpr DWORD MessageEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

class TCryptMsg {
public:
    explicit TCryptMsg(HCRYPTMSG message) : message_(message) {}
    ~TCryptMsg() {
        if (message_)
            CryptMsgClose(message_);
    }
    TCryptMsg(const TCryptMsg&) = delete;
    TCryptMsg& operator=(const TCryptMsg&) = delete;
    HCRYPTMSG Get() const { return message_; }

private:
    HCRYPTMSG message_;
};

int Failed(int step, const char* message, std::string& error) {
    error = FormatErrorText(message, 0, false, false);
    return step;
}

}  // namespace

int _hash(const char* oid, const CRYPT_DATA_BLOB& data, CRYPT_DATA_BLOB& digest, std::string& error) {
    CMSG_HASHED_ENCODE_INFO info{};
    info.cbSize = sizeof info;
    info.hCryptProv = 0;
    info.HashAlgorithm.pszObjId = const_cast<char*>(oid);

    const DWORD length = oid ? HashedMessageEncodedLength(info, data.cbData) : 0;
    if (length == 0)
        return Failed(1, "_hash. Getting cbEncodedBlob length failed.", error);

    TLocalFree<BYTE> buffer(static_cast<BYTE*>(ProviderCalls().localAlloc(LMEM_FIXED, length)));
    if (!buffer.Get())
        return Failed(2, "_hash. Ошибка выделения памяти.", error);

    TCryptMsg message(CryptMsgOpenToEncode(MessageEncoding, 0, CMSG_HASHED, &info, nullptr, nullptr));
    if (!message.Get())
        return Failed(3, "_hash. Getting CMSG_HASHED  failed.", error);

    if (data.cbData != 0 && data.pbData == nullptr)
        SetLastError(ERROR_INVALID_PARAMETER);
    if ((data.cbData != 0 && data.pbData == nullptr) || !CryptMsgUpdate(message.Get(), data.pbData, data.cbData, TRUE))
        return Failed(4, "_hash. Getting CryptMsgUpdate  failed.", error);

    DWORD size = length;
    if (!CryptMsgGetParam(message.Get(), CMSG_COMPUTED_HASH_PARAM, 0, buffer.Get(), &size))
        return Failed(5, "_hash. Getting CryptMsgGetParam  failed.", error);

    digest.cbData = size;
    digest.pbData = buffer.Detach();
    return 0;
}

int HashByAlgId(ALG_ID algorithm, const CRYPT_DATA_BLOB& data, CRYPT_DATA_BLOB& digest, std::string& error) {
    const char* oid = CertAlgIdToOID(algorithm);
    if (oid)
        return _hash(oid, data, digest, error);
    char message[80];
    std::snprintf(message, sizeof message, "HashByAlgId. Нет OID для алгоритма 0x%x.",
                  static_cast<unsigned>(algorithm));
    SetLastError(0);
    error = FormatErrorText(message, static_cast<int>(CRYPT_E_UNKNOWN_ALGO), false, false);
    return 3;
}
