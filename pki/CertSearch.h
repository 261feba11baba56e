// The newest certificate of a common name in a system store.
#pragma once
#include <windows.h>
#include <wincrypt.h>

// A duplicate (the caller frees it) of the certificate of the current user's system store whose
// subject common name equals the name (compared as CertNameIn128 reads it) and whose NotBefore
// is the latest; of equal ones the first enumerated. Null when there is none or the store does
// not open.
PCCERT_CONTEXT FindNewestCertByCN(const char* storeName, const char* commonName);
