// The choice between the automation path and the older libraries' path for a time stamp and an
// OCSP response, and the comparison of their two times. Texts are cp1251.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <oleauto.h>
#include <string>

// Flags. Time stamp: 1 verify, 2 the automation path, 4 the libraries' path (neither: both), 8
// post the request by hand. OCSP: 1 the send argument, 2 and 4 as for the stamp.
enum : int { PathFlagVerify = 1, PathFlagCom = 2, PathFlagApi = 4, PathFlagManual = 8 };

// 0 with the token (a local-heap block of the caller); 2 no path can be used; 3 an empty token;
// else the failing path's result. The older library is released below version code 510.
int Create_TimeStamp(BSTR address, CRYPT_DATA_BLOB& token, const CRYPT_DATA_BLOB& hash, SYSTEMTIME* stampTime,
                     PCCERT_CONTEXT* tsaCert, std::string* errorText, int flags);

// 0 with the response (a local-heap block of the caller); 1 no certificate; 2 no path; 3 an
// empty response; else the failing path's result.
int Create_OCSP(BSTR address, CRYPT_DATA_BLOB& response, PCCERT_CONTEXT cert, SYSTEMTIME* producedAt,
                std::string* errorText, int flags);

// 0 when the two times agree (within 300 seconds, or 300 seconds beyond the size of the time
// zone's bias plus its daylight bias); 1 no OCSP time, 2 no stamp time, 3 an unreadable OCSP
// time or times too far apart, 4 an unreadable stamp time.
int CompareTimes(const SYSTEMTIME* stampTime, const SYSTEMTIME* ocspTime, std::string* errorText);
