#include "MsgEncodedLength.h"
#include <cstring>

namespace {

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Everything of a hashed message but the data and the hash OID: at most a dozen tag-and-length
// headers, the version, the other two OIDs and a digest of up to 64 bytes.
constexpr unsigned long long HashedMessageOverhead = 256;

}  // namespace

DWORD HashedMessageEncodedLength(const CMSG_HASHED_ENCODE_INFO& info, DWORD dataSize) {
    if (!RunningUnderWine())
        return CryptMsgCalculateEncodedLength(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, CMSG_HASHED, &info, nullptr,
                                              dataSize);
    const char* oid = info.HashAlgorithm.pszObjId;
    const unsigned long long bound = static_cast<unsigned long long>(dataSize) + (oid ? std::strlen(oid) : 0) +
                                     HashedMessageOverhead;
    return bound > MAXDWORD ? 0 : static_cast<DWORD>(bound);
}
