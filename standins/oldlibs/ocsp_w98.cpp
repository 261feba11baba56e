// "ocsp_w98.dll" of the provider's older clients, standing in: a real OCSP response about the
// certificate from the responder at the address (the certificate's own without one). Its calls
// go to the stand-ins' journal. Error codes are of facility 0x211.
#include <windows.h>
#include <string>
#include "Journal.h"
#include "OldLibraryEntries.h"
#include "Rfc3161.h"
#include "Rfc6960.h"
#include "Transport.h"

namespace {
const int ErrorArgument = static_cast<int>(0x82110001), ErrorSend = static_cast<int>(0x82110002),
          ErrorStatus = static_cast<int>(0x82110003), ErrorResponse = static_cast<int>(0x82110004);
}

extern "C" {

__declspec(dllexport) int __cdecl MakeOCSP(BSTR address, PCCERT_CONTEXT cert, CRYPT_DATA_BLOB* response,
                                           SYSTEMTIME* producedAt, BOOL send) {
    JournalLine(std::wstring(L"ocsp_w98.dll MakeOCSP send=") + (send ? L"1" : L"0"));
    if (cert == nullptr || response == nullptr || producedAt == nullptr)
        return ErrorArgument;
    try {
        const std::wstring url = address && SysStringLen(address) ? std::wstring(address) : OcspPointOf(cert);
        const THttpAnswer answer = PostRequest(url, L"application/ocsp-request", OcspRequestOf(CertIdOf(cert)), OldLibraryAgent);
        if (answer.status != 200)
            return ErrorStatus;
        if (!ProducedAtOf(answer.body, *producedAt))
            return ErrorResponse;
        response->cbData = static_cast<DWORD>(answer.body.size());
        response->pbData = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, answer.body.size()));
        if (response->pbData == nullptr)
            return ErrorArgument;
        memcpy(response->pbData, answer.body.data(), answer.body.size());
        return 0;
    } catch (const TMemberFailure& failure) {
        return failure.scode == static_cast<HRESULT>(CRYPT_E_ASN1_BADTAG) ? ErrorResponse : ErrorSend;
    }
}

#define UNCALLED(name) \
    __declspec(dllexport) int __cdecl name() { return ErrorArgument; }
UNCALLED(formatOCSPerror)
UNCALLED(ImportOCSPResponse)
UNCALLED(GetOCSPResponse)
UNCALLED(FormatCertStatusString)
UNCALLED(GetOCSPCert)
UNCALLED(StatusCertFromOCSP)
UNCALLED(VerifyOCSP)
UNCALLED(VerifyOCSPCertificate)
UNCALLED(DisplayResponse)
UNCALLED(GetProducedAt)
}
