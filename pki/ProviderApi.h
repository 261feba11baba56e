// The calls of the provider inventory and hashing whose failures Wine cannot produce on demand
// (a seam, Seam.h).
#pragma once
#include <windows.h>
#include <wincrypt.h>

struct TProviderApi {
    // The list of registered providers as a test scripts it, and a failing second call.
    decltype(&::CryptEnumProvidersA) CryptEnumProvidersA;
    // No memory for a provider's name or a digest.
    decltype(&::LocalAlloc) LocalAlloc;

    static TProviderApi Real();
};
