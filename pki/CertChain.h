// Chains of the default chain engine: the issuer or root of a certificate, the trust status of
// a chain at a given time and its readable lines. Texts are cp1251.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>

// A duplicate (the caller frees it) of element 1 of the chain built now, or of its last element
// with root on; the chain's trust is not looked at. Null when no chain is built, when it has
// fewer than two elements or when the duplicate fails, with the reason in *errorText.
PCCERT_CONTEXT MyGetCertIssuer(PCCERT_CONTEXT cert, bool root, std::string* errorText);

// "" for 0; else "Сертификат или издатель в цепочке (Status: <hex>):" and a line a known bit.
std::string ChainErrorStatusText(DWORD status);

// For each simple chain i: the common name of its element i, "::" and its status text.
std::string ChainElementsText(PCCERT_CHAIN_CONTEXT chain);

// Builds the chain at the time (UTC; null: now) with the flags. 0 when its first simple chain
// has no error bits (*errorText untouched); else those bits, with their ChainErrorStatusText in
// *errorText and the chain's elements in the debug output; -1 when no chain is built (or the
// time is no valid date).
int CheckCertChainAtTime(PCCERT_CONTEXT cert, const SYSTEMTIME* time, DWORD flags, std::string* errorText);
