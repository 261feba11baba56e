// The API path of the time stamp and the OCSP response on Windows before 2000 (version code below
// 500): the provider's older libraries "TimeStamp.dll" and "ocsp_w98.dll", loaded by name with
// their entry points. Their handles and entry points are process-wide and unguarded: the path is
// not entered from two threads at once. Texts are cp1251.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <oleauto.h>
#include <string>

// The library's handle, or null: without a text from version code 500 on; with the reason
// below it (the version unknown, the file missing, an entry point missing).
HMODULE MyLoadLibraryTSP(int* versionCode, std::string* errorText);
HMODULE MyLoadLibraryOCSP(int* versionCode, std::string* errorText);
// Forget the entry points and free the library; nothing else when none is loaded.
void MyFreeLibraryTSP();
void MyFreeLibraryOCSP();

// "ocsp_w98.dll".
const char* GetOCSPDllName(int versionCode);
// " a.b.c.d", the version of the provider's OCSP viewer in the Common Files folder of the
// Windows folder's drive, or why it is missing.
std::string GetOcspViewVersion();
// The four parts of the file version; false without a version resource.
bool GetFileVersionNumber(const char* path, WORD numbers[4]);

// A token of the bytes into token (a local-heap block of the caller), read back (time, TSA
// certificate) with verify. 0; 1 no library; 6 the token not read; else the library's code,
// whose text is appended to *errorText.
int API_TimeStamp(HMODULE library, BSTR address, CRYPT_DATA_BLOB& token, const CRYPT_DATA_BLOB& hash,
                  SYSTEMTIME* stampTime, PCCERT_CONTEXT* tsaCert, bool verify, std::string* errorText);
// What the token tells through the library: 0, or the failing step 1, 3 to 7, 9 to 12. The TSA
// certificate stays with the caller, on failure too.
int API_TimeStampInfo(const CRYPT_DATA_BLOB& token, ALG_ID* algorithm, CRYPT_DATA_BLOB& hash, SYSTEMTIME* stampTime,
                      PCCERT_CONTEXT* tsaCert, std::string* errorText);
// The response about the certificate into response (a zero-filled local-heap block of the
// caller) and its production time. 0; 1 no library; 5 the library failed.
int API_OCSP(HMODULE library, BSTR address, CRYPT_DATA_BLOB& response, PCCERT_CONTEXT cert, SYSTEMTIME* producedAt,
             bool send, std::string* errorText);
