// What the tests put in place of CryptMsgCalculateEncodedLength, which Wine has only as an
// unimplemented stub that ends the process: for a hashed message, a length that holds the encoded
// message (the data, the hash OID and at most 256 bytes of headers, version, the other OIDs and a
// digest of up to 64 bytes); 0 for another message type or a length beyond a DWORD.
// A test puts it into the hashing seam (pki/ProviderApi.h); the stand-in service library puts it
// over Wine's stub in the programs that load it, Vorsalt.exe among them (standins/lumclient/WineCryptGap.cpp).
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <cstring>

inline DWORD WINAPI HashedLengthBound(DWORD, DWORD, DWORD type, const void* info, LPSTR, DWORD dataSize) {
    if (type != CMSG_HASHED || info == nullptr)
        return 0;
    const char* oid = static_cast<const CMSG_HASHED_ENCODE_INFO*>(info)->HashAlgorithm.pszObjId;
    const unsigned long long bound = static_cast<unsigned long long>(dataSize) + (oid ? std::strlen(oid) : 0) + 256;
    return bound > MAXDWORD ? 0 : static_cast<DWORD>(bound);
}
