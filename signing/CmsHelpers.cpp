#include "CmsHelpers.h"
#include "SigningApi.h"
#include "Conversions.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "Seam.h"

TSigningApi TSigningApi::Real() {
    return {::CryptAcquireCertificatePrivateKey, ::CryptMsgGetParam, ::CryptMsgControl};
}

MY_CRYPT_ATRIBUTE::~MY_CRYPT_ATRIBUTE() {
    if (Value.pbData != nullptr)
        LocalFree(Value.pbData);
    if (pszObjId != nullptr)
        LocalFree(pszObjId);
}

int MakeBMPString(const char* text, DWORD& length, BYTE*& out, std::string* errorText) {
    int units = 0;
    const BSTR wide = AnsiToBstr(text, static_cast<int>(length), &units);
    CERT_NAME_VALUE value{CERT_RDN_BMP_STRING, {static_cast<DWORD>(units) * 2, reinterpret_cast<BYTE*>(wide)}};
    DWORD size = 0;
    int result = 0;
    BYTE* block = nullptr;
    if (!CryptEncodeObject(MsgEncoding, X509_UNICODE_ANY_STRING, &value, nullptr, &size)) {
        LogOrStoreError(errorText, "MakeBMPString. CryptEncodeObject X509_UNICODE_ANY_STRING failed bufer lenght");
        result = 1;
    } else if ((block = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, size))) == nullptr) {
        LogOrStoreError(errorText, "MakeBMPString. Ошибка выделения памяти.");
        result = 2;
    } else if (!CryptEncodeObject(MsgEncoding, X509_UNICODE_ANY_STRING, &value, block, &size)) {
        LogOrStoreError(errorText, "MakeBMPString. CryptEncodeObject failed.");
        LocalFree(block);
        result = 3;
    } else {
        length = size;
        out = block;
    }
    SysFreeString(wide);
    return result;
}

int CreateCommentAtribute(const char* identifier, const char* version, MY_CRYPT_ATRIBUTE& attribute,
                          std::string* errorText) {
    DWORD identifierSize = static_cast<DWORD>(strlen(identifier)), versionSize = static_cast<DWORD>(strlen(version));
    BYTE *identifierBytes = nullptr, *versionBytes = nullptr;
    if (MakeBMPString(identifier, identifierSize, identifierBytes, errorText) != 0)
        return 1;
    const TLocalFree<BYTE> identifierOwner(identifierBytes);
    if (MakeBMPString(version, versionSize, versionBytes, errorText) != 0)
        return 2;
    const TLocalFree<BYTE> versionOwner(versionBytes);
    CRYPT_DER_BLOB parts[] = {{identifierSize, identifierBytes}, {versionSize, versionBytes}};
    CRYPT_SEQUENCE_OF_ANY sequence{2, parts};
    DWORD size = 0;
    if (!CryptEncodeObject(MsgEncoding, X509_SEQUENCE_OF_ANY, &sequence, nullptr, &size)) {
        LogOrStoreError(errorText, "CreateCommentAtribute. CryptEncodeObject bufer lenght failed");
        return 3;
    }
    TLocalFree<BYTE> block(static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, size)));
    if (block.Get() == nullptr) {
        LogOrStoreError(errorText, "CreateCommentAtribute. LocalAlloc failed");
        return 4;
    }
    if (!CryptEncodeObject(MsgEncoding, X509_SEQUENCE_OF_ANY, &sequence, block.Get(), &size)) {
        LogOrStoreError(errorText, "CreateCommentAtribute. CryptEncodeObject failed");
        return 5;
    }
    char* oid = LocalAllocCopy(CommentAttributeOid, strlen(CommentAttributeOid));
    if (oid == nullptr) {
        LogOrStoreError(errorText, "CreateCommentAtribute. LocalAlloc failed");
        return 4;
    }
    attribute.Value.cbData = size;
    attribute.Value.pbData = block.Detach();
    attribute.pszObjId = oid;
    attribute.cValue = 1;
    attribute.rgValue = &attribute.Value;
    return 0;
}

bool CreateBIT_BLOBAtribute(const BYTE* bytes, DWORD count, BYTE*& out, DWORD& length, std::string* errorText) {
    CRYPT_BIT_BLOB bits{count, const_cast<BYTE*>(bytes), 0};
    if (!CryptEncodeObject(MsgEncoding, X509_BITS, &bits, nullptr, &length)) {
        LogOrStoreError(errorText, "CreateBIT_BLOBAtribute. CryptEncodeObject X509_BITS bufer lenght failed.");
        return false;
    }
    out = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, length));
    if (out == nullptr) {
        LogOrStoreError(errorText, "CreateBIT_BLOBAtribute. Ошибка выделения памяти. LocalAlloc failed.");
        return false;
    }
    if (!CryptEncodeObject(MsgEncoding, X509_BITS, &bits, out, &length)) {
        LogOrStoreError(errorText, "CreateBIT_BLOBAtribute. CryptEncodeObject X509_BITS failed.");
        return false;
    }
    return true;
}

int Add_UNAUTH_ATTR(HCRYPTMSG message, const CRYPT_ATTR_BLOB& value, const char* oid, DWORD signer,
                    std::string* errorText) {
    if (value.cbData == 0) {
        LogOrStoreError(errorText, std::string("Add_UNAUTH_ATTR. Пустой блок данных.") + oid);
        return 1;
    }
    CRYPT_ATTR_BLOB values[] = {value};
    CRYPT_ATTRIBUTE attribute{const_cast<LPSTR>(oid), 1, values};
    DWORD size = 0;
    if (!CryptEncodeObject(MsgEncoding, PKCS_ATTRIBUTE, &attribute, nullptr, &size)) {
        LogOrStoreError(errorText, std::string("Add_UNAUTH_ATTR. 1. CryptEncodeObject failed.") + oid +
                                       "\r\nРазмер блока: " + std::to_string(value.cbData));
        return 1;
    }
    TLocalFree<BYTE> encoded(static_cast<BYTE*>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, size)));
    if (encoded.Get() == nullptr) {
        LogOrStoreError(errorText, "Add_UNAUTH_ATTR. Memory allocation error. LocalAlloc failed.");
        return 2;
    }
    if (!CryptEncodeObject(MsgEncoding, PKCS_ATTRIBUTE, &attribute, encoded.Get(), &size)) {
        LogOrStoreError(errorText, std::string("Add_UNAUTH_ATTR. 2. CryptEncodeObject failed.") + oid);
        return 3;
    }
    CMSG_CTRL_ADD_SIGNER_UNAUTH_ATTR_PARA para{sizeof para, signer, {size, encoded.Get()}};
    if (!Seam<TSigningApi>().CryptMsgControl(message, 0, CMSG_CTRL_ADD_SIGNER_UNAUTH_ATTR, &para)) {
        LogOrStoreError(errorText,
                        "Add_UNAUTH_ATTR. Не удалось добавить штамп времени в контекст сообщения. "
                        "CryptMsgControl failed.");
        return 4;
    }
    return 0;
}

bool GetContentMsg(HCRYPTMSG& message, DWORD parameter, BYTE*& out, DWORD& length, DWORD index,
                   std::string* errorText) {
    length = 0;
    out = nullptr;
    DWORD size = 0;
    const TSigningApi& api = Seam<TSigningApi>();
    if (!api.CryptMsgGetParam(message, parameter, index, nullptr, &size)) {
        LogOrStoreError(errorText, "GetContentMsg. Sizing of cbSignerInfo failed.", static_cast<int>(parameter));
        return false;
    }
    BYTE* block = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, size ? size : 1));
    if (block == nullptr) {
        LogOrStoreError(errorText, "GetContentMsg. Memory allocation failed.");
        return false;
    }
    if (!api.CryptMsgGetParam(message, parameter, index, block, &size)) {
        LogOrStoreError(errorText, "GetContentMsg. Getting pbEncodedBlob failed");
        LocalFree(block);
        return false;
    }
    out = block;
    length = size;
    return true;
}

HCRYPTMSG OpenMsg(DWORD flags, std::string* errorText) {
    const HCRYPTMSG message = CryptMsgOpenToDecode(MsgEncoding, flags, 0, 0, nullptr, nullptr);
    if (message == nullptr)
        LogOrStoreError(errorText, "OpenMsg. Ошибка создания криптографического сообщения.");
    return message;
}

bool AddDataToMsg(HCRYPTMSG message, const BYTE* bytes, DWORD count, std::string* errorText) {
    if (!CryptMsgUpdate(message, bytes, count, TRUE)) {
        LogOrStoreError(errorText, "AddDataToMsg. Ошибка загрузки данных в сообщение.");
        return false;
    }
    return true;
}

bool ReloadMsg(HCRYPTMSG& message, std::string* errorText) {
    BYTE* encoded = nullptr;
    DWORD length = 0;
    if (!GetContentMsg(message, CMSG_CONTENT_PARAM, encoded, length, 0, errorText))
        return false;
    const TLocalFree<BYTE> owner(encoded);
    CryptMsgClose(message);
    message = OpenMsg(CMSG_DETACHED_FLAG, errorText);
    return message != nullptr && AddDataToMsg(message, encoded, length, errorText);
}

const char* GetHashOidFromCert(PCCERT_CONTEXT cert, std::string* errorText) {
    ALG_ID algorithm = CertOIDToAlgId(cert->pCertInfo->SignatureAlgorithm.pszObjId);
    const PCCRYPT_OID_INFO info = CryptFindOIDInfo(CRYPT_OID_INFO_ALGID_KEY, &algorithm, CRYPT_HASH_ALG_OID_GROUP_ID);
    if (info == nullptr) {
        LogOrStoreError(errorText, "Ошибка получения информации по алгоритму хэширования из сертификата");
        return nullptr;
    }
    return info->pszOID;
}
