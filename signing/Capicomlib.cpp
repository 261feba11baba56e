#include "Capicomlib.h"
#include "Base64.h"
#include "CertContext.h"
#include "Conversions.h"
#include "ErrorText.h"
#include "LocalFree.h"

namespace {
const char* const CertificateFailure = "Ошибка создания сертификата: Export CAPICOM_ENCODE_BASE64 failed";
const int CAPICOM_ENCODE_BASE64 = 0;
}  // namespace

PCCERT_CONTEXT ExportCapicomCertificate(TMyComPtr& certificate, std::string* errorText) {
    Variant base64;
    try {
        TVAR_ARGS args;
        args.Add(Variant(CAPICOM_ENCODE_BASE64));
        base64 = certificate.CallDispatchFunction(L"Export", &args);
        if (base64.Type() != VT_BSTR)
            base64 = Variant(base64.AsWideString());
    } catch (...) {
        LogOrStoreError(errorText, CertificateFailure, 0, true);
        return nullptr;
    }
    TLocalFree<char> text(WideToAnsi(base64.Data().bstrVal));
    const DWORD length = text.Get() ? static_cast<DWORD>(strlen(text.Get())) : 0;
    return GetCertContext(text.Get() ? text.Get() : "", length, errorText);
}

int ImportCertToCapicom(PCCERT_CONTEXT cert, TMyComPtr& certificate, std::string* errorText) {
    TLocalFree<char> base64(kwbase64_encode(cert->pbCertEncoded, cert->cbCertEncoded, errorText));
    if (base64.Get() == nullptr)
        return 1;
    try {
        int count = 0;
        TVAR_ARGS args;
        args.Add(Variant::FromBstr(AnsiToBstr(base64.Get(), static_cast<int>(strlen(base64.Get())), &count)));
        certificate.CallDispatchMethod(L"Import", &args);
    } catch (...) {
        LogOrStoreError(errorText, CertificateFailure, 0, true);
        return 4;
    }
    return 0;
}
