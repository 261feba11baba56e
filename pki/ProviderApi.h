// The calls of the provider inventory and hashing whose failures Wine cannot produce on demand, or
// that Wine cannot run (a seam, Seam.h).
#pragma once
#include <windows.h>
#include <wincrypt.h>

struct TProviderApi {
    // The list of registered providers as a test scripts it, and a failing second call.
    decltype(&::CryptEnumProvidersA) CryptEnumProvidersA;
    // No memory for a provider's name or a digest.
    decltype(&::LocalAlloc) LocalAlloc;
    // The length of the hashed message to be encoded. Wine's is an unimplemented stub that ends the
    // process: the tests put a bound in its place (tests/common/HashedLengthBound.h).
    decltype(&::CryptMsgCalculateEncodedLength) CryptMsgCalculateEncodedLength;

    static TProviderApi Real();
};
