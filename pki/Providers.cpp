#include "Providers.h"
#include "CryptProv.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "PkiSeam.h"
#include <cstring>

PkiSeam& ProviderCalls() {
    static PkiSeam seam{CryptEnumProvidersA, LocalAlloc};
    return seam;
}

namespace {

std::string Completed(const char* message) {
    return FormatErrorText(message, 0, false, false);
}

}  // namespace

bool EnumCSPProviders(CCSPTypes& list, std::string& error) {
    PkiSeam& api = ProviderCalls();
    TLocalFree<char> name;
    for (DWORD index = 0;; ++index) {
        DWORD type = 0, size = 0;
        if (!api.enumProviders(index, nullptr, 0, &type, nullptr, &size))
            return true;
        name = static_cast<char*>(api.localAlloc(LPTR, size));
        if (!name.Get()) {
            error = Completed("ERROR - LocalAlloc failed!");
            return false;
        }
        if (!api.enumProviders(index, nullptr, 0, &type, name.Get(), &size)) {
            error = Completed("ERROR - CryptEnumProviders");
            return false;
        }
        list.Add(std::string(name.Get(), strnlen(name.Get(), size)), type);
    }
}

bool IsCryptoProInstalled(std::string& error) {
    CCSPTypes providers;
    if (!EnumCSPProviders(providers, error))
        return false;
    for (int i = 0; i < providers.GetCount(); ++i)
        if (providers.GetType(i) == CryptoProType || providers.GetType(i) == CryptoProType2012)
            return true;
    error = "В системе не установлен Крипто-Про";
    return false;
}

int EnumProviderAlgorithms(HCRYPTPROV provider, int& count) {
    count = 0;
    BYTE record[1024];
    DWORD flags = CRYPT_FIRST;
    for (;;) {
        DWORD length = sizeof record;  // every call may take a full record
        if (!CryptGetProvParam(provider, PP_ENUMALGS_EX, record, &length, flags))
            return count;
        ++count;
        flags = 0;
    }
}

int GetCryptoProVersion(DWORD& version, std::string& error) {
    version = 0;
    TCryptProv provider;
    if (!CryptAcquireContextA(provider.Out(), nullptr, nullptr, CryptoProType, CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
        error = Completed("GetCryptoProVersion.CryptAcquireContext failed");
        return 1;
    }
    DWORD size = sizeof version;
    if (!CryptGetProvParam(provider.Get(), PP_VERSION, reinterpret_cast<BYTE*>(&version), &size, 0)) {
        version = 0;
        error = Completed("GetCryptoProVersion.CryptGetProvParam PP_VERSION failed");
        return 2;
    }
    return 0;
}
