// The entry points of the provider's older time-stamp and OCSP libraries ("TimeStamp.dll",
// "ocsp_w98.dll") as the program calls them: arguments on the stack, removed by the caller
// (cdecl); 0 is success, anything else the library's error code. Blocks the libraries hand out
// are freed with GlobalFree (time stamps, hashes) or LocalFree (OCSP responses).
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <oleauto.h>

extern "C" {
// TimeStamp.dll
typedef int(__cdecl* TMakeTimeStamp)(BSTR address, const CRYPT_DATA_BLOB* data, CRYPT_DATA_BLOB* token);
typedef int(__cdecl* TGetTimeStamp)(void** stamp);
typedef int(__cdecl* TImportTimeStamp)(void* stamp, const CRYPT_DATA_BLOB* token);
typedef PCCERT_CONTEXT(__cdecl* TTSACertTimeStamp)(void* stamp, int* error);
typedef int(__cdecl* TVerifyTS)(void* stamp, PCCERT_CONTEXT tsaCert);
typedef int(__cdecl* TGetHashTimeStamp)(void* stamp, CRYPT_DATA_BLOB* hash);
typedef int(__cdecl* TGetTypeHashTS)(void* stamp, ALG_ID* algorithm);
typedef int(__cdecl* TGetTimeTimeStamp)(void* stamp, SYSTEMTIME* time);
// ocsp_w98.dll
typedef int(__cdecl* TMakeOCSP)(BSTR address, PCCERT_CONTEXT cert, CRYPT_DATA_BLOB* response, SYSTEMTIME* producedAt,
                                BOOL send);
// The entry points that must be present and are never called.
typedef int(__cdecl* TUncalledEntry)();
}
