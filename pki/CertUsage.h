// The enhanced key usage of a certificate.
#pragma once
#include <windows.h>
#include <wincrypt.h>

// True when one of the certificate's enhanced key usage identifiers begins with the prefix (a
// text comparison: "1.2.643.3.37.2.1.1.2" also matches "1.2.643.3.37.2.1.1.25"). False for a
// certificate without usage identifiers and when the usage cannot be read.
bool CertHasEnhancedKeyUsage(PCCERT_CONTEXT cert, const char* prefix);
