// The pieces of RFC 3161 that the stand-ins build and read: the request over a digest, the token
// inside a service's answer, and what a token tells. Failures throw TMemberFailure.
#pragma once
#include <windows.h>
#include <string>
#include "CryptOwned.h"
#include "Failure.h"

// TimeStampReq, version 1, asking for the service's certificate.
std::string TimeStampRequest(const std::string& digest, const char* algorithmOid, const std::string& nonce);
// The token of a granted TimeStampResp, or the token itself.
std::string TokenOfAnswer(const std::string& bytes);
// The token's time (UTC), signer (from its certificates), signature check, stamped digest.
SYSTEMTIME TokenTime(const std::string& token);
TCertContext TokenSigner(const std::string& token);
bool TokenSignatureHolds(const std::string& token, PCCERT_CONTEXT cert);
std::string TokenImprint(const std::string& token, ALG_ID& algorithm);

// The policy's "DefaultTSPURL" (SOFTWARE\Policies\Crypto-Pro\TSP, the machine's before the
// user's); "" without one.
std::wstring PolicyTspAddress();

// "yyyymmddhhmmss[.f...]Z"; false when it is not such a time.
bool ParseGeneralizedTime(const std::string& text, SYSTEMTIME& time);
