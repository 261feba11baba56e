// The steps after the signature: the time stamp and the OCSP response as unsigned attributes of
// signer 0 of the reopened message, and the private key's usage period. Texts are cp1251.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>

// A stamp over signer 0's signature value, attached: 0; 4 no signature value; 5 no stamp; 7 not
// attached. "SendRequestsManualy" (HKLM\Software\VELTA\Common\CAServices) makes the program post
// the request to the policy's service itself. time receives the stamp's time (UTC).
int Add_TimeStamp(HCRYPTMSG message, SYSTEMTIME& time, std::string* errorText);

// The response about the certificate, in a BIT STRING, attached: 0; 1 no response; 6 not wrapped;
// 7 not attached. time receives its production time (UTC).
int Add_OCSP(HCRYPTMSG message, PCCERT_CONTEXT cert, SYSTEMTIME& time, std::string* errorText);

// Whether the key was within its period at the moment (UTC): 36 months from NotBefore with the
// usage 1.2.643.3.37.2.1.1.2, else 15. 0 with valid set (and the expiry in *errorText when not
// valid); 1 the moment is no time.
int IsPrivateKeyValid(PCCERT_CONTEXT cert, const SYSTEMTIME& moment, bool& valid, std::string* errorText);
