// The API path of the time stamp and the OCSP response on Windows before 2000 (version code below
// 500): the provider's older libraries "TimeStamp.dll" and "ocsp_w98.dll", loaded by name with
// their entry points into an object that the call owns; the library is freed when the object
// goes. Texts are cp1251.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <oleauto.h>
#include <string>
#include "OldLibraryEntries.h"
#include "Owned.h"

// "TimeStamp.dll" with its entry points.
class TTspLibrary {
public:
    // True with the library and every entry point; false (nothing held) without a text from
    // version code 500 on, with the reason below it (the version unknown, the file missing, an
    // entry point missing). versionCode receives the version code, 0 when it is unknown.
    bool Load(int* versionCode, std::string* errorText);
    bool Loaded() const { return static_cast<bool>(module); }

    TMakeTimeStamp MakeTimeStamp = nullptr;
    TGetTimeStamp GetTimeStamp = nullptr;
    TImportTimeStamp ImportTimeStamp = nullptr;
    TTSACertTimeStamp TSACertTimeStamp = nullptr;
    TGetTimeTimeStamp GetTimeTimeStamp = nullptr;
    TVerifyTS VerifyTS = nullptr;
    TGetHashTimeStamp GetHashTimeStamp = nullptr;
    TGetTypeHashTS GetTypeHashTS = nullptr;

private:
    TModule module;
};

// "ocsp_w98.dll" with its entry points. The version code is learnt once for the process.
class TOcspLibrary {
public:
    // As TTspLibrary::Load; the load's failure text ends with GetOcspViewVersion.
    bool Load(int* versionCode, std::string* errorText);
    bool Loaded() const { return static_cast<bool>(module); }

    TMakeOCSP MakeOCSP = nullptr;

private:
    TModule module;
};

// "ocsp_w98.dll".
const char* GetOCSPDllName(int versionCode);
// " a.b.c.d", the version of the provider's OCSP viewer in the Common Files folder of the
// Windows folder's drive, or why it is missing.
std::string GetOcspViewVersion();
// The four parts of the file version; false without a version resource.
bool GetFileVersionNumber(const char* path, WORD numbers[4]);

// A token of the bytes into token (a local-heap block of the caller), read back (time, TSA
// certificate) with verify. 0; 1 the library not loaded; 6 the token not read; else the
// library's code, whose text is appended to *errorText.
int API_TimeStamp(const TTspLibrary& library, BSTR address, CRYPT_DATA_BLOB& token, const CRYPT_DATA_BLOB& hash,
                  SYSTEMTIME* stampTime, PCCERT_CONTEXT* tsaCert, bool verify, std::string* errorText);
// What the token tells through the library: 0, or the failing step 1 (the library not loaded),
// 3 to 7, 9 to 12. The TSA certificate stays with the caller, on failure too; so does the hash (a
// global-heap block).
int API_TimeStampInfo(const TTspLibrary& library, const CRYPT_DATA_BLOB& token, ALG_ID* algorithm,
                      CRYPT_DATA_BLOB& hash, SYSTEMTIME* stampTime, PCCERT_CONTEXT* tsaCert, std::string* errorText);
// The response about the certificate into response (a zero-filled local-heap block of the
// caller) and its production time. 0; 1 the library not loaded; 5 the library failed.
int API_OCSP(const TOcspLibrary& library, BSTR address, CRYPT_DATA_BLOB& response, PCCERT_CONTEXT cert,
             SYSTEMTIME* producedAt, bool send, std::string* errorText);
