// The client certificate lookup that both HTTP clients use.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>

// The first certificate of the store with that issuer and serial number (the caller frees
// it); null for a null store or when none matches. The encoding type is not used.
PCCERT_CONTEXT FindCertByIssuerAndSerial(HCERTSTORE store, DWORD encodingType, CERT_NAME_BLOB issuer,
                                         CRYPT_INTEGER_BLOB serialNumber);

// The root's personal store ("Software\Microsoft\SystemCertificates\My"), read-only; the caller
// closes it. Null on failure, with the reason in *errorText.
HCERTSTORE OpenPersonalStoreFromRegistry(HKEY root, std::string* errorText);
