#include "CmsHelpers.h"
#include "SigningApi.h"
#include "Conversions.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "Seam.h"
#include "SysString.h"

TSigningApi TSigningApi::Real() {
    return {::CryptAcquireCertificatePrivateKey, ::CryptMsgGetParam, ::CryptMsgControl};
}

namespace {
// The failure texts of an encoding's steps.
struct TEncodeTexts {
    std::string sizeFailed, noMemory, encodeFailed;
};

// The structure's DER encoding as the type into out, a new local-heap block (LocalAlloc with the
// flags) of length bytes: 0, or the failing step with its text, out and length left as they were:
// 1 the size query, 2 no memory, 3 the encoding.
int EncodeToBlock(LPCSTR type, const void* structure, UINT allocFlags, const TEncodeTexts& texts, BYTE*& out,
                  DWORD& length, std::string* errorText) {
    DWORD size = 0;
    if (!CryptEncodeObject(MsgEncoding, type, structure, nullptr, &size)) {
        LogOrStoreError(errorText, texts.sizeFailed);
        return 1;
    }
    TLocalFree<BYTE> block(static_cast<BYTE*>(LocalAlloc(allocFlags, size)));
    if (block.Get() == nullptr) {
        LogOrStoreError(errorText, texts.noMemory);
        return 2;
    }
    if (!CryptEncodeObject(MsgEncoding, type, structure, block.Get(), &size)) {
        LogOrStoreError(errorText, texts.encodeFailed);
        return 3;
    }
    out = block.Detach();
    length = size;
    return 0;
}
}  // namespace

int MakeBMPString(const char* text, DWORD& length, BYTE*& out, std::string* errorText) {
    int units = 0;
    const TSysString wide(AnsiToBstr(text, static_cast<int>(length), &units));
    CERT_NAME_VALUE value{CERT_RDN_BMP_STRING, {static_cast<DWORD>(units) * 2, reinterpret_cast<BYTE*>(wide.Get())}};
    return EncodeToBlock(X509_UNICODE_ANY_STRING, &value, LMEM_FIXED,
                         {"MakeBMPString. CryptEncodeObject X509_UNICODE_ANY_STRING failed bufer lenght",
                          "MakeBMPString. Ошибка выделения памяти.", "MakeBMPString. CryptEncodeObject failed."},
                         out, length, errorText);
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
    BYTE* encoded = nullptr;
    DWORD size = 0;
    const int step = EncodeToBlock(X509_SEQUENCE_OF_ANY, &sequence, LMEM_FIXED,
                                   {"CreateCommentAtribute. CryptEncodeObject bufer lenght failed",
                                    "CreateCommentAtribute. LocalAlloc failed",
                                    "CreateCommentAtribute. CryptEncodeObject failed"},
                                   encoded, size, errorText);
    if (step != 0)
        return step + 2;
    TLocalFree<BYTE> encodedOwner(encoded);
    char* oid = LocalAllocCopy(CommentAttributeOid, strlen(CommentAttributeOid));
    if (oid == nullptr) {
        LogOrStoreError(errorText, "CreateCommentAtribute. LocalAlloc failed");
        return 4;
    }
    attribute.valueBlock.Reset(encodedOwner.Detach());
    attribute.oidBlock.Reset(oid);
    attribute.Value.cbData = size;
    attribute.Value.pbData = encoded;
    attribute.pszObjId = oid;
    attribute.cValue = 1;
    attribute.rgValue = &attribute.Value;
    return 0;
}

bool CreateBIT_BLOBAtribute(const BYTE* bytes, DWORD count, BYTE*& out, DWORD& length, std::string* errorText) {
    CRYPT_BIT_BLOB bits{count, const_cast<BYTE*>(bytes), 0};
    return EncodeToBlock(X509_BITS, &bits, LMEM_FIXED,
                         {"CreateBIT_BLOBAtribute. CryptEncodeObject X509_BITS bufer lenght failed.",
                          "CreateBIT_BLOBAtribute. Ошибка выделения памяти. LocalAlloc failed.",
                          "CreateBIT_BLOBAtribute. CryptEncodeObject X509_BITS failed."},
                         out, length, errorText) == 0;
}

int Add_UNAUTH_ATTR(HCRYPTMSG message, const CRYPT_ATTR_BLOB& value, const char* oid, DWORD signer,
                    std::string* errorText) {
    if (value.cbData == 0) {
        LogOrStoreError(errorText, std::string("Add_UNAUTH_ATTR. Пустой блок данных.") + oid);
        return 1;
    }
    CRYPT_ATTR_BLOB values[] = {value};
    CRYPT_ATTRIBUTE attribute{const_cast<LPSTR>(oid), 1, values};
    BYTE* encoded = nullptr;
    DWORD size = 0;
    const int step = EncodeToBlock(PKCS_ATTRIBUTE, &attribute, LMEM_FIXED | LMEM_ZEROINIT,
                                   {std::string("Add_UNAUTH_ATTR. 1. CryptEncodeObject failed.") + oid +
                                        "\r\nРазмер блока: " + std::to_string(value.cbData),
                                    "Add_UNAUTH_ATTR. Memory allocation error. LocalAlloc failed.",
                                    std::string("Add_UNAUTH_ATTR. 2. CryptEncodeObject failed.") + oid},
                                   encoded, size, errorText);
    if (step != 0)
        return step;
    const TLocalFree<BYTE> encodedOwner(encoded);
    CMSG_CTRL_ADD_SIGNER_UNAUTH_ATTR_PARA para{sizeof para, signer, {size, encoded}};
    if (!Seam<TSigningApi>().CryptMsgControl(message, 0, CMSG_CTRL_ADD_SIGNER_UNAUTH_ATTR, &para)) {
        LogOrStoreError(errorText,
                        "Add_UNAUTH_ATTR. Не удалось добавить штамп времени в контекст сообщения. "
                        "CryptMsgControl failed.");
        return 4;
    }
    return 0;
}

bool GetContentMsg(HCRYPTMSG message, DWORD parameter, BYTE*& out, DWORD& length, DWORD index, std::string* errorText) {
    length = 0;
    out = nullptr;
    DWORD size = 0;
    const TSigningApi& api = Seam<TSigningApi>();
    if (!api.CryptMsgGetParam(message, parameter, index, nullptr, &size)) {
        LogOrStoreError(errorText, "GetContentMsg. Sizing of cbSignerInfo failed.", static_cast<int>(parameter));
        return false;
    }
    TLocalFree<BYTE> block(static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, size ? size : 1)));
    if (block.Get() == nullptr) {
        LogOrStoreError(errorText, "GetContentMsg. Memory allocation failed.");
        return false;
    }
    if (!api.CryptMsgGetParam(message, parameter, index, block.Get(), &size)) {
        LogOrStoreError(errorText, "GetContentMsg. Getting pbEncodedBlob failed");
        return false;
    }
    out = block.Detach();
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

bool ReloadMsg(TCryptMsg& message, std::string* errorText) {
    BYTE* encoded = nullptr;
    DWORD length = 0;
    if (!GetContentMsg(message.Get(), CMSG_CONTENT_PARAM, encoded, length, 0, errorText))
        return false;
    const TLocalFree<BYTE> owner(encoded);
    message.Close();
    message.Reset(OpenMsg(CMSG_DETACHED_FLAG, errorText));
    return message && AddDataToMsg(message.Get(), encoded, length, errorText);
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
