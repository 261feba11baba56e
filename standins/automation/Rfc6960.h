// The pieces of RFC 6960 that the stand-ins build and read. Failures throw TMemberFailure.
#pragma once
#include <windows.h>
#include <string>
#include "CryptOwned.h"
#include "Failure.h"

// The CertID of a certificate (SHA-1), its issuer found by the chain built now.
std::string CertIdOf(PCCERT_CONTEXT cert);
// An OCSPRequest of one CertID.
std::string OcspRequestOf(const std::string& certId);
// The URL of the certificate's OCSP access point; "" without one.
std::wstring OcspPointOf(PCCERT_CONTEXT cert);
// Throws unless the bytes are an OCSPResponse.
void CheckOcspResponse(const std::string& bytes);
// producedAt of a successful response; false for one of another status, which has none.
bool ProducedAtOf(const std::string& response, SYSTEMTIME& time);
