// SignLow, the signing function that the executable exports: a DER CMS SignedData of the data
// with the certificate's private key, with the time-stamp token and the OCSP response as unsigned
// attributes when asked, their times compared, and the key's usage period checked.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>

// The host's progress procedure: a text (cp1251, valid during the call) and 0.
typedef void(__stdcall* SignProgressCallback)(const char* text, int value);

// The capacity of the caller's error-text buffer, the NUL included; a longer text is cut.
constexpr DWORD SignLowErrorTextCapacity = 4096;

// 0, with *signedMessage a local-heap block (LocalFree) of *signedLength bytes; else the failing
// step 1 to 10, or SCARD_W_CANCELLED_BY_USER, with the step's text in errorText (when not null)
// and *signedMessage null. The five switches read only their low byte.
extern "C" int __stdcall SignLow(const BYTE* data, DWORD dataLength, BYTE** signedMessage, DWORD* signedLength,
                                 PCCERT_CONTEXT signer, const char* pin, DWORD timeStamp, DWORD ocsp, DWORD detached,
                                 DWORD keyPeriod, DWORD cacheKey, char* errorText, SignProgressCallback progress);

// The text with its NUL into the caller's buffer, cut to SignLowErrorTextCapacity bytes with the
// NUL; nothing through a null buffer.
void CopySignLowErrorText(const std::string& text, char* buffer);
