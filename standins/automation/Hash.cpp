#include "Failure.h"
#include <wincrypt.h>

std::string HashBytes(ALG_ID algorithm, const std::string& bytes) {
    BYTE digest[64];
    DWORD size = sizeof digest;
    if (!CryptHashCertificate(0, algorithm, 0, reinterpret_cast<const BYTE*>(bytes.data()),
                              static_cast<DWORD>(bytes.size()), digest, &size))
        throw TMemberFailure{HRESULT_FROM_WIN32(GetLastError()), L"Хэширование не удалось"};
    return std::string(reinterpret_cast<char*>(digest), size);
}
