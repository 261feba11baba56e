// The provider inventory: which providers are registered, whether CryptoPro is among them, the
// version it reports and how many algorithms a provider lists. Error texts are cp1251; a null
// errorText sends them to VYRNLog.
#pragma once
#include "CSPTypes.h"
#include <wincrypt.h>
#include <string>

// Provider types that mean CryptoPro; the version is read from the first.
constexpr DWORD CryptoProType = 75, CryptoProType2012 = 80;

// Appends every registered provider in enumeration order. True when the walk came to its end;
// false on a failure (the providers read before it stay in the list).
bool EnumCSPProviders(CCSPTypes& list, std::string* errorText);

// True when a provider of type 75 or 80 is registered.
bool IsCryptoProInstalled(std::string* errorText);

// Sets count to the number of algorithms the provider lists, and returns it.
int EnumProviderAlgorithms(HCRYPTPROV provider, int& count);

// The PP_VERSION of the type-75 provider: 0, 1 (no context) or 2 (no version); version is 0
// unless it was read.
int GetCryptoProVersion(DWORD& version, std::string* errorText);
