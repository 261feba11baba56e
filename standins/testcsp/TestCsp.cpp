// A cryptographic service provider for tests: it answers PP_VERSION and the algorithm enumeration,
// and hashes with its GOST hash id (the digest is SHA-256 of the data, so a test can judge it).
// The version and the calls that fail come from the registry (TestCspSwitches.h) at every call.
#include "TestCspSwitches.h"
#include <windows.h>
#include <bcrypt.h>
#include <wincrypt.h>
#include <cstring>
#include <vector>

namespace {

struct Algorithm {
    ALG_ID id;
    DWORD bits;
    const char* name;
    const char* longName;
};

const Algorithm Algorithms[TestCspAlgorithmCount] = {
    {TestCspGostHash, 256, "GOST R 34.11-94", "GOST R 34.11-94 hash"},
    {0x661E, 256, "GOST 28147-89", "GOST 28147-89 cipher"},
    {0x2E23, 512, "GOST R 34.10-2001", "GOST R 34.10-2001 signature"},
};

struct Context {
    int nextAlgorithm = 0;
};

struct Hash {
    std::vector<BYTE> data;
};

DWORD ReadSwitch(const char* name, DWORD fallback = 0) {
    DWORD value = 0, size = sizeof value, type = 0;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, TESTCSP_SWITCH_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return fallback;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD ? value : fallback;
}

// True when the switch asks the call to fail; the last error is then the switch's code.
bool SwitchedToFail(const char* name) {
    DWORD code = ReadSwitch(name);
    if (code == 0)
        return false;
    SetLastError(code);
    return true;
}

BOOL Fail(DWORD code) {
    SetLastError(code);
    return FALSE;
}

// Copies size bytes out, or answers the size when out is null.
BOOL Answer(const void* value, DWORD size, BYTE* out, DWORD* outSize) {
    if (!outSize)
        return Fail(ERROR_INVALID_PARAMETER);
    if (!out) {
        *outSize = size;
        return TRUE;
    }
    if (*outSize < size) {
        *outSize = size;
        return Fail(ERROR_MORE_DATA);
    }
    std::memcpy(out, value, size);
    *outSize = size;
    return TRUE;
}

void CopyName(char* to, size_t capacity, const char* name) {
    std::strncpy(to, name, capacity - 1);
    to[capacity - 1] = '\0';
}

BOOL EnumerateAlgorithm(Context& context, DWORD param, BYTE* out, DWORD* outSize, DWORD flags) {
    if (flags & CRYPT_FIRST)
        context.nextAlgorithm = 0;
    if (context.nextAlgorithm >= TestCspAlgorithmCount)
        return Fail(ERROR_NO_MORE_ITEMS);
    const Algorithm& a = Algorithms[context.nextAlgorithm];
    BOOL ok;
    if (param == PP_ENUMALGS) {
        PROV_ENUMALGS record{};
        record.aiAlgid = a.id;
        record.dwBitLen = a.bits;
        CopyName(record.szName, sizeof record.szName, a.name);
        record.dwNameLen = static_cast<DWORD>(std::strlen(record.szName) + 1);
        ok = Answer(&record, sizeof record, out, outSize);
    } else {
        PROV_ENUMALGS_EX record{};
        record.aiAlgid = a.id;
        record.dwDefaultLen = record.dwMinLen = record.dwMaxLen = a.bits;
        CopyName(record.szName, sizeof record.szName, a.name);
        record.dwNameLen = static_cast<DWORD>(std::strlen(record.szName) + 1);
        CopyName(record.szLongName, sizeof record.szLongName, a.longName);
        record.dwLongNameLen = static_cast<DWORD>(std::strlen(record.szLongName) + 1);
        ok = Answer(&record, sizeof record, out, outSize);
    }
    if (ok && out)
        ++context.nextAlgorithm;
    return ok;
}

bool Sha256(const std::vector<BYTE>& data, BYTE (&digest)[TestCspDigestSize]) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0)
        return false;
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool ok = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0;
    if (ok) {
        ok = BCryptHashData(hash, const_cast<BYTE*>(data.data()), static_cast<ULONG>(data.size()), 0) == 0 &&
             BCryptFinishHash(hash, digest, TestCspDigestSize, 0) == 0;
        BCryptDestroyHash(hash);
    }
    BCryptCloseAlgorithmProvider(algorithm, 0);
    return ok;
}

}  // namespace

extern "C" {

BOOL WINAPI CPAcquireContext(HCRYPTPROV* prov, LPSTR, DWORD, void*)  // the last: advapi32's VTableProvStruc
{
    if (!prov)
        return Fail(ERROR_INVALID_PARAMETER);
    if (SwitchedToFail(TESTCSP_FAIL_ACQUIRE))
        return FALSE;
    *prov = reinterpret_cast<HCRYPTPROV>(new Context);
    return TRUE;
}

BOOL WINAPI CPReleaseContext(HCRYPTPROV prov, DWORD) {
    delete reinterpret_cast<Context*>(prov);
    return TRUE;
}

BOOL WINAPI CPGetProvParam(HCRYPTPROV prov, DWORD param, BYTE* out, DWORD* outSize, DWORD flags) {
    Context& context = *reinterpret_cast<Context*>(prov);
    switch (param) {
    case PP_VERSION: {
        if (SwitchedToFail(TESTCSP_FAIL_VERSION))
            return FALSE;
        DWORD version = ReadSwitch(TESTCSP_VERSION, TestCspDefaultVersion);
        return Answer(&version, sizeof version, out, outSize);
    }
    case PP_ENUMALGS:
    case PP_ENUMALGS_EX:
        return EnumerateAlgorithm(context, param, out, outSize, flags);
    }
    return Fail(NTE_BAD_TYPE);
}

BOOL WINAPI CPSetProvParam(HCRYPTPROV, DWORD, const BYTE*, DWORD) {
    return Fail(NTE_BAD_TYPE);
}

BOOL WINAPI CPCreateHash(HCRYPTPROV, ALG_ID algorithm, HCRYPTKEY, DWORD, HCRYPTHASH* hash) {
    if (!hash)
        return Fail(ERROR_INVALID_PARAMETER);
    if (algorithm != TestCspGostHash)
        return Fail(NTE_BAD_ALGID);
    if (SwitchedToFail(TESTCSP_FAIL_CREATE_HASH))
        return FALSE;
    *hash = reinterpret_cast<HCRYPTHASH>(new Hash);
    return TRUE;
}

BOOL WINAPI CPHashData(HCRYPTPROV, HCRYPTHASH hash, const BYTE* data, DWORD size, DWORD) {
    if (SwitchedToFail(TESTCSP_FAIL_HASH_DATA))
        return FALSE;
    if (size && !data)
        return Fail(ERROR_INVALID_PARAMETER);
    std::vector<BYTE>& held = reinterpret_cast<Hash*>(hash)->data;
    held.insert(held.end(), data, data + size);
    return TRUE;
}

BOOL WINAPI CPGetHashParam(HCRYPTPROV, HCRYPTHASH hash, DWORD param, BYTE* out, DWORD* outSize, DWORD) {
    switch (param) {
    case HP_ALGID: {
        DWORD id = TestCspGostHash;
        return Answer(&id, sizeof id, out, outSize);
    }
    case HP_HASHSIZE: {
        DWORD size = TestCspDigestSize;
        return Answer(&size, sizeof size, out, outSize);
    }
    case HP_HASHVAL: {
        if (SwitchedToFail(TESTCSP_FAIL_HASH_VALUE))
            return FALSE;
        BYTE digest[TestCspDigestSize];
        if (!Sha256(reinterpret_cast<Hash*>(hash)->data, digest))
            return Fail(NTE_FAIL);
        return Answer(digest, sizeof digest, out, outSize);
    }
    }
    return Fail(NTE_BAD_TYPE);
}

BOOL WINAPI CPSetHashParam(HCRYPTPROV, HCRYPTHASH, DWORD, const BYTE*, DWORD) {
    return Fail(NTE_BAD_TYPE);
}

BOOL WINAPI CPDestroyHash(HCRYPTPROV, HCRYPTHASH hash) {
    delete reinterpret_cast<Hash*>(hash);
    return TRUE;
}

BOOL WINAPI CPDuplicateHash(HCRYPTPROV, HCRYPTHASH hash, DWORD*, DWORD, HCRYPTHASH* copy) {
    if (!copy)
        return Fail(ERROR_INVALID_PARAMETER);
    *copy = reinterpret_cast<HCRYPTHASH>(new Hash(*reinterpret_cast<Hash*>(hash)));
    return TRUE;
}

// No keys, no signatures, no random numbers.
BOOL WINAPI CPGenKey(HCRYPTPROV, ALG_ID, DWORD, HCRYPTKEY*) {
    return Fail(NTE_BAD_ALGID);
}
BOOL WINAPI CPDeriveKey(HCRYPTPROV, ALG_ID, HCRYPTHASH, DWORD, HCRYPTKEY*) {
    return Fail(NTE_BAD_ALGID);
}
BOOL WINAPI CPDestroyKey(HCRYPTPROV, HCRYPTKEY) {
    return Fail(NTE_BAD_KEY);
}
BOOL WINAPI CPSetKeyParam(HCRYPTPROV, HCRYPTKEY, DWORD, const BYTE*, DWORD) {
    return Fail(NTE_BAD_KEY);
}
BOOL WINAPI CPGetKeyParam(HCRYPTPROV, HCRYPTKEY, DWORD, BYTE*, DWORD*, DWORD) {
    return Fail(NTE_BAD_KEY);
}
BOOL WINAPI CPExportKey(HCRYPTPROV, HCRYPTKEY, HCRYPTKEY, DWORD, DWORD, BYTE*, DWORD*) {
    return Fail(NTE_BAD_KEY);
}
BOOL WINAPI CPImportKey(HCRYPTPROV, const BYTE*, DWORD, HCRYPTKEY, DWORD, HCRYPTKEY*) {
    return Fail(NTE_BAD_KEY);
}
BOOL WINAPI CPEncrypt(HCRYPTPROV, HCRYPTKEY, HCRYPTHASH, BOOL, DWORD, BYTE*, DWORD*, DWORD) {
    return Fail(NTE_BAD_KEY);
}
BOOL WINAPI CPDecrypt(HCRYPTPROV, HCRYPTKEY, HCRYPTHASH, BOOL, DWORD, BYTE*, DWORD*) {
    return Fail(NTE_BAD_KEY);
}
BOOL WINAPI CPHashSessionKey(HCRYPTPROV, HCRYPTHASH, HCRYPTKEY, DWORD) {
    return Fail(NTE_BAD_KEY);
}
BOOL WINAPI CPSignHash(HCRYPTPROV, HCRYPTHASH, DWORD, LPCWSTR, DWORD, BYTE*, DWORD*) {
    return Fail(NTE_NO_KEY);
}
BOOL WINAPI CPVerifySignature(HCRYPTPROV, HCRYPTHASH, const BYTE*, DWORD, HCRYPTKEY, LPCWSTR, DWORD) {
    return Fail(NTE_NO_KEY);
}
BOOL WINAPI CPGenRandom(HCRYPTPROV, DWORD, BYTE*) {
    return Fail(NTE_FAIL);
}
BOOL WINAPI CPGetUserKey(HCRYPTPROV, DWORD, HCRYPTKEY*) {
    return Fail(NTE_NO_KEY);
}
BOOL WINAPI CPDuplicateKey(HCRYPTPROV, HCRYPTKEY, DWORD*, DWORD, HCRYPTKEY*) {
    return Fail(NTE_BAD_KEY);
}

}  // extern "C"
