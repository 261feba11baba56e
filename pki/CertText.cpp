#include "CertText.h"
#include "LocalFree.h"
#include "CertApi.h"
#include "Seam.h"
#include <cstring>

namespace {
void* CommonNameOid() {
    return const_cast<char*>(szOID_COMMON_NAME);
}
}  // namespace

std::string BytesToHex(const BYTE* bytes, DWORD count) {
    static const char Digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * static_cast<size_t>(count));
    for (DWORD i = 0; i < count; ++i) {
        text += Digits[bytes[i] >> 4];
        text += Digits[bytes[i] & 0x0F];
    }
    return text;
}

char* IntegerBlobToHex(const CRYPT_INTEGER_BLOB& blob, bool withBlanks) {
    const std::string stored = BytesToHex(blob.pbData, blob.cbData);
    std::string text;
    for (DWORD written = 0; written < blob.cbData; ++written) {
        text.append(stored, 2 * static_cast<size_t>(blob.cbData - 1 - written), 2);
        if (withBlanks && written % 2 == 1 && written + 1 < blob.cbData)
            text += ' ';
    }
    char* block = static_cast<char*>(Seam<TCertApi>().LocalAlloc(LPTR, text.size() + 10));
    if (block != nullptr)
        std::memcpy(block, text.data(), text.size());
    return block;
}

char* GetCertSerialNumberText(PCCERT_CONTEXT cert, bool withBlanks) {
    return IntegerBlobToHex(cert->pCertInfo->SerialNumber, withBlanks);
}

char* GetCertSubjectCN(PCCERT_CONTEXT cert) {
    const DWORD length = CertGetNameStringA(cert, CERT_NAME_ATTR_TYPE, 0, CommonNameOid(), nullptr, 0);
    if (length == 0)
        return nullptr;
    TLocalFree<char> name(static_cast<char*>(Seam<TCertApi>().LocalAlloc(LPTR, length + 1)));
    if (name.Get() == nullptr ||
        CertGetNameStringA(cert, CERT_NAME_ATTR_TYPE, 0, CommonNameOid(), name.Get(), length) == 0)
        return nullptr;
    return name.Detach();
}

std::string CertNameIn128(PCCERT_CONTEXT cert, bool issuer) {
    char name[128] = {};
    CertGetNameStringA(cert, CERT_NAME_ATTR_TYPE, issuer ? CERT_NAME_ISSUER_FLAG : 0, CommonNameOid(), name,
                       sizeof name);
    name[sizeof name - 1] = '\0';
    return name;
}
