#include "Providers.h"
#include "CryptOwned.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "ProviderApi.h"
#include "Seam.h"
#include <cstring>

TProviderApi TProviderApi::Real() {
    return {::CryptEnumProvidersA, ::LocalAlloc, ::CryptMsgCalculateEncodedLength};
}

bool EnumCSPProviders(CCSPTypes& list, std::string* errorText) {
    const TProviderApi& api = Seam<TProviderApi>();
    TLocalFree<char> name;
    for (DWORD index = 0;; ++index) {
        DWORD type = 0, size = 0;
        // Wine: with 122 (insufficient buffer) as the thread's last error before the calls, the name
        // read fails with 0xEA. Clearing it first is harmless on Windows.
        SetLastError(ERROR_SUCCESS);
        if (!api.CryptEnumProvidersA(index, nullptr, 0, &type, nullptr, &size))
            return true;
        name = static_cast<char*>(api.LocalAlloc(LPTR, size));
        if (!name.Get()) {
            LogOrStoreError(errorText, "ERROR - LocalAlloc failed!");
            return false;
        }
        SetLastError(ERROR_SUCCESS);
        if (!api.CryptEnumProvidersA(index, nullptr, 0, &type, name.Get(), &size)) {
            LogOrStoreError(errorText, "ERROR - CryptEnumProviders");
            return false;
        }
        list.Add(std::string(name.Get(), strnlen(name.Get(), size)), type);
    }
}

bool IsCryptoProInstalled(std::string* errorText) {
    CCSPTypes providers;
    if (!EnumCSPProviders(providers, errorText))
        return false;
    for (int i = 0; i < providers.GetCount(); ++i)
        if (providers.GetType(i) == CryptoProType || providers.GetType(i) == CryptoProType2012)
            return true;
    if (errorText != nullptr)
        *errorText = "В системе не установлен Крипто-Про";
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

int GetCryptoProVersion(DWORD& version, std::string* errorText) {
    version = 0;
    TCryptProv provider;
    if (!CryptAcquireContextA(provider.Receive(), nullptr, nullptr, CryptoProType,
                              CRYPT_VERIFYCONTEXT | CRYPT_SILENT)) {
        LogOrStoreError(errorText, "GetCryptoProVersion.CryptAcquireContext failed");
        return 1;
    }
    DWORD size = sizeof version;
    if (!CryptGetProvParam(provider.Get(), PP_VERSION, reinterpret_cast<BYTE*>(&version), &size, 0)) {
        version = 0;
        LogOrStoreError(errorText, "GetCryptoProVersion.CryptGetProvParam PP_VERSION failed");
        return 2;
    }
    return 0;
}
