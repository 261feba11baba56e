// The CMS message and attribute operations of the signing service. Every encoding is DER with
// X509_ASN_ENCODING | PKCS_7_ASN_ENCODING; every block handed out is the caller's (LocalFree).
// A failure replaces *errorText (cp1251).
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "CryptOwned.h"
#include "LocalFree.h"

constexpr DWORD MsgEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
constexpr const char* CommentAttributeOid = "1.3.6.1.4.1.311.2.1.120";
constexpr const char* TimeStampTokenOid = "1.2.840.113549.1.9.16.2.14";
constexpr const char* OcspResponseOid = "1.2.840.113549.1.9.16.2.22";

// One attribute with its one value; its first three fields are a CRYPT_ATTRIBUTE. It points into
// itself, so it is neither copied nor moved. The OID and the value's bytes are its own blocks.
struct MY_CRYPT_ATRIBUTE {
    LPSTR pszObjId = nullptr;
    DWORD cValue = 0;
    PCRYPT_ATTR_BLOB rgValue = nullptr;
    CRYPT_ATTR_BLOB Value = {0, nullptr};
    TLocalFree<char> oidBlock;
    TLocalFree<BYTE> valueBlock;

    MY_CRYPT_ATRIBUTE() = default;
    MY_CRYPT_ATRIBUTE(const MY_CRYPT_ATRIBUTE&) = delete;
    MY_CRYPT_ATRIBUTE& operator=(const MY_CRYPT_ATRIBUTE&) = delete;
};

// The BMPString of the first length bytes of the text; length receives the encoding's size.
// 0; 1 size query, 2 no memory, 3 encoding (length and out untouched then).
int MakeBMPString(const char* text, DWORD& length, BYTE*& out, std::string* errorText);
// The comment attribute: SEQUENCE { BMPString identifier, BMPString version }. 0, or 1 to 5.
int CreateCommentAtribute(const char* identifier, const char* version, MY_CRYPT_ATRIBUTE& attribute,
                          std::string* errorText);
// A BIT STRING of the bytes with 0 unused bits into out, the caller's block; out is left as it was
// on failure.
bool CreateBIT_BLOBAtribute(const BYTE* bytes, DWORD count, BYTE*& out, DWORD& length, std::string* errorText);
// Adds the value under the OID to the signer's unsigned attributes: 0, or 1 to 4.
int Add_UNAUTH_ATTR(HCRYPTMSG message, const CRYPT_ATTR_BLOB& value, const char* oid, DWORD signer,
                    std::string* errorText);
// A parameter of the message into a local-heap block.
bool GetContentMsg(HCRYPTMSG message, DWORD parameter, BYTE*& out, DWORD& length, DWORD index, std::string* errorText);
HCRYPTMSG OpenMsg(DWORD flags, std::string* errorText);
bool AddDataToMsg(HCRYPTMSG message, const BYTE* bytes, DWORD count, std::string* errorText);
// Closes the encoded message and opens its encoding for decoding in the same owner.
bool ReloadMsg(TCryptMsg& message, std::string* errorText);
// The hash algorithm's OID of the certificate's signature algorithm; null when there is none.
const char* GetHashOidFromCert(PCCERT_CONTEXT cert, std::string* errorText);
