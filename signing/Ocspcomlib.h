// The OCSP response through the provider's automation objects: a one-certificate request of
// "OCSPCOM.OCSPRequest", sent by the object or posted by the program's HTTP client. The calling
// thread must have COM initialised. Texts are cp1251.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "IDispatchLib.h"

// 0 when "OCSPCOM.OCSPRequest" can be made; 1000 with the reason in *errorText.
int IsOCSPCOM(std::string* errorText);

// The responder's answer about the certificate into output (a zero-filled local-heap block; the
// caller frees a non-null one whatever the result) and its production time in UTC. send goes to
// "Send" as an integer. 0; 1 the certificate not loaded; 2 HTTP status not 200 (the status as
// the text's code); 3 no production time (output kept); 5 no memory; 10 a failed call; 11 another
// exception of the class library. A failure's text is appended to *errorText.
int COM_OCSP(BSTR address, CRYPT_DATA_BLOB& output, PCCERT_CONTEXT cert, SYSTEMTIME* producedAt, int send,
             bool postManually, std::string* errorText);

// The response's "ProducedAt" (local) in UTC: 0, or the failing step 1 to 4. Raises TError.
int GetOCSPProducedAt(TMyComPtr& response, SYSTEMTIME* time, std::string* errorText);
