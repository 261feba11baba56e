// Bridges between a CryptoAPI certificate context and a "CAPICOM.Certificate" automation object.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "IDispatchLib.h"

// A new context (the caller frees it) of the object's certificate, or null with *errorText set.
PCCERT_CONTEXT ExportCapicomCertificate(TMyComPtr& certificate, std::string* errorText);

// Loads the certificate into the object: 0; 1 it could not be encoded; 4 the object refused it.
int ImportCertToCapicom(PCCERT_CONTEXT cert, TMyComPtr& certificate, std::string* errorText);
