// A cryptographic provider of the tests that forwards every call to the platform's RSA provider
// (PROV_RSA_AES), as a smart-card provider over a real key would: it journals the PIN it is given
// (the stand-ins' journal, "proxycsp PIN <pin>") and answers as the user's cancel
// (SCARD_W_CANCELLED_BY_USER) at the signature when the PIN is the one that
// VORSALT_PROXY_CANCEL_PIN names, as a card refusing a wrong PIN (SCARD_W_WRONG_CHV) when it is
// the one VORSALT_PROXY_WRONG_PIN names, and as the cancel at the acquisition when
// VORSALT_PROXY_CANCEL_ACQUIRE is set.
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "Journal.h"

namespace {
const DWORD CancelledByUser = 0x8010006E, WrongPin = 0x8010006B;

// One context of this provider: the platform provider's and the error its signature gives (0:
// none).
struct TContext {
    HCRYPTPROV real = 0;
    DWORD signatureError = 0;
};

TContext* Context(HCRYPTPROV prov) {
    return reinterpret_cast<TContext*>(prov);
}

std::string Environment(const char* name) {
    char value[256] = {};
    return GetEnvironmentVariableA(name, value, sizeof value) ? value : "";
}
}  // namespace

extern "C" {

BOOL WINAPI CPAcquireContext(HCRYPTPROV* prov, LPSTR container, DWORD flags, void*) {
    if (!Environment("VORSALT_PROXY_CANCEL_ACQUIRE").empty()) {
        SetLastError(CancelledByUser);
        return FALSE;
    }
    auto* context = new TContext();
    if (!CryptAcquireContextA(&context->real, container, MS_ENH_RSA_AES_PROV_A, PROV_RSA_AES, flags)) {
        const DWORD error = GetLastError();
        delete context;
        SetLastError(error);
        return FALSE;
    }
    *prov = reinterpret_cast<HCRYPTPROV>(context);
    return TRUE;
}

BOOL WINAPI CPReleaseContext(HCRYPTPROV prov, DWORD flags) {
    TContext* context = Context(prov);
    const BOOL released = CryptReleaseContext(context->real, flags);
    delete context;
    return released;
}

BOOL WINAPI CPGetProvParam(HCRYPTPROV prov, DWORD param, BYTE* out, DWORD* size, DWORD flags) {
    return CryptGetProvParam(Context(prov)->real, param, out, size, flags);
}

BOOL WINAPI CPSetProvParam(HCRYPTPROV prov, DWORD param, const BYTE* value, DWORD flags) {
    if (param == PP_KEYEXCHANGE_PIN || param == PP_SIGNATURE_PIN) {
        const std::string pin = value ? reinterpret_cast<const char*>(value) : "";
        JournalLine(L"proxycsp PIN " + std::wstring(pin.begin(), pin.end()));
        const std::string cancelPin = Environment("VORSALT_PROXY_CANCEL_PIN");
        const std::string wrongPin = Environment("VORSALT_PROXY_WRONG_PIN");
        Context(prov)->signatureError = !cancelPin.empty() && pin == cancelPin ? CancelledByUser
                                        : !wrongPin.empty() && pin == wrongPin ? WrongPin
                                                                               : 0;
        return TRUE;
    }
    return CryptSetProvParam(Context(prov)->real, param, value, flags);
}

BOOL WINAPI CPCreateHash(HCRYPTPROV prov, ALG_ID algorithm, HCRYPTKEY key, DWORD flags, HCRYPTHASH* hash) {
    return CryptCreateHash(Context(prov)->real, algorithm, key, flags, hash);
}

BOOL WINAPI CPHashData(HCRYPTPROV, HCRYPTHASH hash, const BYTE* data, DWORD size, DWORD flags) {
    return CryptHashData(hash, data, size, flags);
}

BOOL WINAPI CPGetHashParam(HCRYPTPROV, HCRYPTHASH hash, DWORD param, BYTE* out, DWORD* size, DWORD flags) {
    return CryptGetHashParam(hash, param, out, size, flags);
}

BOOL WINAPI CPSetHashParam(HCRYPTPROV, HCRYPTHASH hash, DWORD param, const BYTE* value, DWORD flags) {
    return CryptSetHashParam(hash, param, value, flags);
}

BOOL WINAPI CPDestroyHash(HCRYPTPROV, HCRYPTHASH hash) {
    return CryptDestroyHash(hash);
}

BOOL WINAPI CPDuplicateHash(HCRYPTPROV, HCRYPTHASH hash, DWORD* reserved, DWORD flags, HCRYPTHASH* copy) {
    return CryptDuplicateHash(hash, reserved, flags, copy);
}

BOOL WINAPI CPSignHash(HCRYPTPROV prov, HCRYPTHASH hash, DWORD keySpec, LPCWSTR description, DWORD flags,
                       BYTE* signature, DWORD* size) {
    if (Context(prov)->signatureError != 0) {
        SetLastError(Context(prov)->signatureError);
        return FALSE;
    }
    return CryptSignHashW(hash, keySpec, description, flags, signature, size);
}

BOOL WINAPI CPVerifySignature(HCRYPTPROV, HCRYPTHASH hash, const BYTE* signature, DWORD size, HCRYPTKEY key,
                              LPCWSTR description, DWORD flags) {
    return CryptVerifySignatureW(hash, signature, size, key, description, flags);
}

BOOL WINAPI CPGenKey(HCRYPTPROV prov, ALG_ID algorithm, DWORD flags, HCRYPTKEY* key) {
    return CryptGenKey(Context(prov)->real, algorithm, flags, key);
}

BOOL WINAPI CPDeriveKey(HCRYPTPROV prov, ALG_ID algorithm, HCRYPTHASH hash, DWORD flags, HCRYPTKEY* key) {
    return CryptDeriveKey(Context(prov)->real, algorithm, hash, flags, key);
}

BOOL WINAPI CPDestroyKey(HCRYPTPROV, HCRYPTKEY key) {
    return CryptDestroyKey(key);
}

BOOL WINAPI CPSetKeyParam(HCRYPTPROV, HCRYPTKEY key, DWORD param, const BYTE* value, DWORD flags) {
    return CryptSetKeyParam(key, param, value, flags);
}

BOOL WINAPI CPGetKeyParam(HCRYPTPROV, HCRYPTKEY key, DWORD param, BYTE* out, DWORD* size, DWORD flags) {
    return CryptGetKeyParam(key, param, out, size, flags);
}

BOOL WINAPI CPExportKey(HCRYPTPROV, HCRYPTKEY key, HCRYPTKEY exportKey, DWORD type, DWORD flags, BYTE* out,
                        DWORD* size) {
    return CryptExportKey(key, exportKey, type, flags, out, size);
}

BOOL WINAPI CPImportKey(HCRYPTPROV prov, const BYTE* data, DWORD size, HCRYPTKEY importKey, DWORD flags,
                        HCRYPTKEY* key) {
    return CryptImportKey(Context(prov)->real, data, size, importKey, flags, key);
}

BOOL WINAPI CPEncrypt(HCRYPTPROV, HCRYPTKEY key, HCRYPTHASH hash, BOOL final, DWORD flags, BYTE* data, DWORD* size,
                      DWORD capacity) {
    return CryptEncrypt(key, hash, final, flags, data, size, capacity);
}

BOOL WINAPI CPDecrypt(HCRYPTPROV, HCRYPTKEY key, HCRYPTHASH hash, BOOL final, DWORD flags, BYTE* data, DWORD* size) {
    return CryptDecrypt(key, hash, final, flags, data, size);
}

BOOL WINAPI CPHashSessionKey(HCRYPTPROV, HCRYPTHASH hash, HCRYPTKEY key, DWORD flags) {
    return CryptHashSessionKey(hash, key, flags);
}

BOOL WINAPI CPGenRandom(HCRYPTPROV prov, DWORD size, BYTE* out) {
    return CryptGenRandom(Context(prov)->real, size, out);
}

BOOL WINAPI CPGetUserKey(HCRYPTPROV prov, DWORD keySpec, HCRYPTKEY* key) {
    return CryptGetUserKey(Context(prov)->real, keySpec, key);
}

BOOL WINAPI CPDuplicateKey(HCRYPTPROV, HCRYPTKEY key, DWORD* reserved, DWORD flags, HCRYPTKEY* copy) {
    return CryptDuplicateKey(key, reserved, flags, copy);
}
}
