// The time stamp through the provider's automation objects: RFC 3161 over given bytes (hashed by
// "CAPICOM.HashedData"), sent by "TSPCOM.TSPRequest" or posted by the program's HTTP client.
// The calling thread must have COM initialised. Texts are cp1251.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "IDispatchLib.h"

// 0 when "TSPCOM.TSPRequest" can be made; 1000 with the reason in *errorText.
int IsTSPCOM(std::string* errorText);

// The stamp of the input's bytes into output (a zero-filled local-heap block the caller frees);
// with verify, its signature and its certificate's chain at its time are checked, stampTime
// gets its time in UTC and tsaCert the service's certificate (the caller frees it). Manual
// posting with an address posts the request itself and takes the token out of the service's
// answer. 0; 3 HTTP status not 200 (the status as the text's code); 4 invalid stamp or chain;
// 5 no memory; 6 a posted request's answer refused the stamp or holds no token; 7 the
// certificate not exported; 8 no time; a failed call's TError code; 11 another exception. After
// a failure output and tsaCert are empty; a failure's text is appended to *errorText.
int COM_TimeStamp(BSTR address, CRYPT_DATA_BLOB& output, const CRYPT_DATA_BLOB& input, SYSTEMTIME* stampTime,
                  PCCERT_CONTEXT* tsaCert, bool verify, bool postManually, std::string* errorText);

// 0 when the stamp's signature holds for the certificate; 1 with *errorText set. Raises TError.
int VerifyStamp(TMyComPtr& stamp, const Variant& certificate, std::string* errorText);

// The stamp's "Time" (local) in UTC: 0; 1 not a time; 2 not turned into UTC. Raises TError.
int GetStampTime(TMyComPtr& stamp, SYSTEMTIME* time, std::string* errorText);
