// "TimeStamp.dll" of the provider's older clients, standing in: a real RFC 3161 stamp of the
// data's SHA-1 from the service at the address (the policy's without one), read back through a
// stamp object. Its calls go to the stand-ins' journal. Error codes are of facility 0x210.
#include <windows.h>
#include <string>
#include "Journal.h"
#include "OldLibraryEntries.h"
#include "Rfc3161.h"
#include "Transport.h"

namespace {
const int ErrorArgument = static_cast<int>(0x82100001), ErrorSend = static_cast<int>(0x82100002),
          ErrorStatus = static_cast<int>(0x82100003), ErrorToken = static_cast<int>(0x82100004);

// The one stamp object of the process (the program never frees it).
struct TStamp {
    std::string token;
} Stamp;

CRYPT_DATA_BLOB GlobalBlob(const std::string& bytes) {
    CRYPT_DATA_BLOB blob{static_cast<DWORD>(bytes.size()), static_cast<BYTE*>(GlobalAlloc(GMEM_FIXED, bytes.size() + 1))};
    if (blob.pbData)
        memcpy(blob.pbData, bytes.data(), bytes.size());
    return blob;
}

// 0 when the step on the stamp's token goes through; ErrorToken when the token does not hold
// what it reads.
template <typename TStep>
int OnToken(TStep step) {
    try {
        step();
        return 0;
    } catch (const TMemberFailure&) {
        return ErrorToken;
    }
}
}  // namespace

extern "C" {

__declspec(dllexport) int __cdecl MakeTimeStamp(BSTR address, const CRYPT_DATA_BLOB* data, CRYPT_DATA_BLOB* token) {
    JournalLine(L"TimeStamp.dll MakeTimeStamp");
    if (data == nullptr || token == nullptr)
        return ErrorArgument;
    try {
        const std::string digest =
            HashBytes(CALG_SHA1, std::string(reinterpret_cast<const char*>(data->pbData), data->cbData));
        const std::wstring url = address && SysStringLen(address) ? std::wstring(address) : PolicyTspAddress();
        const THttpAnswer answer =
            PostRequest(url, L"application/timestamp-query", TimeStampRequest(digest, "1.3.14.3.2.26", "\x01"), OldLibraryAgent);
        if (answer.status != 200)
            return ErrorStatus;
        *token = GlobalBlob(TokenOfAnswer(answer.body));
        return token->pbData ? 0 : ErrorArgument;
    } catch (const TMemberFailure& failure) {
        return failure.scode == E_INVALIDARG ? ErrorArgument : ErrorSend;
    }
}

__declspec(dllexport) int __cdecl GetTimeStamp(void** stamp) {
    JournalLine(L"TimeStamp.dll GetTimeStamp");
    if (stamp == nullptr)
        return ErrorArgument;
    Stamp = TStamp();
    *stamp = &Stamp;
    return 0;
}

__declspec(dllexport) int __cdecl ImportTimeStamp(void* stamp, const CRYPT_DATA_BLOB* token) {
    JournalLine(L"TimeStamp.dll ImportTimeStamp");
    if (stamp != &Stamp || token == nullptr)
        return ErrorArgument;
    return OnToken(
        [&] { Stamp.token = TokenOfAnswer(std::string(reinterpret_cast<const char*>(token->pbData), token->cbData)); });
}

__declspec(dllexport) PCCERT_CONTEXT __cdecl TSACertTimeStamp(void* stamp, int* error) {
    JournalLine(L"TimeStamp.dll TSACertTimeStamp");
    try {
        if (stamp == &Stamp && !Stamp.token.empty())
            return TokenSigner(Stamp.token).Release();
    } catch (const TMemberFailure&) {
    }
    if (error)
        *error = ErrorToken;
    return nullptr;
}

__declspec(dllexport) int __cdecl VerifyTS(void* stamp, PCCERT_CONTEXT tsaCert) {
    JournalLine(L"TimeStamp.dll VerifyTS");
    if (stamp != &Stamp || tsaCert == nullptr)
        return ErrorArgument;
    try {
        return TokenSignatureHolds(Stamp.token, tsaCert) ? 0 : ErrorToken;
    } catch (const TMemberFailure&) {
        return ErrorToken;
    }
}

__declspec(dllexport) int __cdecl GetHashTimeStamp(void* stamp, CRYPT_DATA_BLOB* hash) {
    JournalLine(L"TimeStamp.dll GetHashTimeStamp");
    if (stamp != &Stamp || hash == nullptr)
        return ErrorArgument;
    return OnToken([&] {
        ALG_ID algorithm = 0;
        *hash = GlobalBlob(TokenImprint(Stamp.token, algorithm));
    });
}

__declspec(dllexport) int __cdecl GetTypeHashTS(void* stamp, ALG_ID* algorithm) {
    JournalLine(L"TimeStamp.dll GetTypeHashTS");
    if (stamp != &Stamp || algorithm == nullptr)
        return ErrorArgument;
    return OnToken([&] { TokenImprint(Stamp.token, *algorithm); });
}

__declspec(dllexport) int __cdecl GetTimeTimeStamp(void* stamp, SYSTEMTIME* time) {
    JournalLine(L"TimeStamp.dll GetTimeTimeStamp");
    if (stamp != &Stamp || time == nullptr)
        return ErrorArgument;
    return OnToken([&] { *time = TokenTime(Stamp.token); });
}

__declspec(dllexport) int __cdecl formatTSPerror() {
    return ErrorArgument;
}

#ifndef VORSALT_TIMESTAMP_INCOMPLETE  // the build that lacks an entry point, for the loader's test
__declspec(dllexport) int __cdecl VerifyCertificateTS() {
    return ErrorArgument;
}
#endif
}
