// A certificate context from DER or from base64 text. Error texts are cp1251.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>

// Data holding a NUL byte among its count bytes is DER, else base64 text (line breaks and blanks
// allowed). A context that the caller frees, or null with the reason in *errorText: base64 that
// does not decode, or ends inside a group of four characters; bytes that are no certificate.
PCCERT_CONTEXT GetCertContext(const void* data, DWORD count, std::string* errorText);
