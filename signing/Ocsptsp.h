// The choice between the automation path and the older libraries' path for a time stamp and an
// OCSP response, and the comparison of their two times. Texts are cp1251.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <oleauto.h>
#include <string>
#include "ServicePaths.h"

// The flags are ServicePaths.h's.
// 0 with the token (a local-heap block of the caller); 2 no path can be used; 3 an empty token;
// else the failing path's result. A failure's text replaces *errorText. The older library is
// loaded for the call only.
int Create_TimeStamp(BSTR address, CRYPT_DATA_BLOB& token, const CRYPT_DATA_BLOB& hash, SYSTEMTIME* stampTime,
                     PCCERT_CONTEXT* tsaCert, std::string* errorText, int flags);

// 0 with the response (a local-heap block of the caller); 1 no certificate; 2 no path; 3 an
// empty response; else the failing path's result. A failure's text replaces *errorText; the text
// of a failure that no path explained ends with what *errorText held before.
int Create_OCSP(BSTR address, CRYPT_DATA_BLOB& response, PCCERT_CONTEXT cert, SYSTEMTIME* producedAt,
                std::string* errorText, int flags);

// 0 when the two times agree (within 300 seconds, or 300 seconds beyond the size of the time
// zone's bias plus its daylight bias); 1 no OCSP time, 2 no stamp time, 3 an unreadable OCSP
// time or times too far apart, 4 an unreadable stamp time.
int CompareTimes(const SYSTEMTIME* stampTime, const SYSTEMTIME* ocspTime, std::string* errorText);
