// Texts of certificates: hexadecimal byte strings and serial numbers, common names. Texts are
// cp1251; a char* result is a local-heap block that the caller frees (TLocalFree<char>).
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>

// Two upper-case hexadecimal digits a byte, in stored order.
std::string BytesToHex(const BYTE* bytes, DWORD count);

// The integer's bytes most significant first (CryptoAPI stores them least significant first),
// two digits each; with blanks, a blank after every second byte when more follow (01 02 03 gives
// "0302 01"). A zero-filled block; null when there is no memory.
char* IntegerBlobToHex(const CRYPT_INTEGER_BLOB& blob, bool withBlanks);

// IntegerBlobToHex of the certificate's serial number.
char* GetCertSerialNumberText(PCCERT_CONTEXT cert, bool withBlanks);

// The subject's common name; "" when it has none; null on failure.
char* GetCertSubjectCN(PCCERT_CONTEXT cert);

// The common name of the subject or of the issuer as the store walks compare them: read into a
// zero-filled buffer of 128 bytes, so a longer name is cut to 127 characters.
std::string CertNameIn128(PCCERT_CONTEXT cert, bool issuer);
