#include "CertContext.h"
#include "Base64.h"
#include "Conversions.h"
#include "ErrorText.h"
#include "LocalFree.h"

PCCERT_CONTEXT GetCertContext(const void* data, DWORD count, std::string* errorText) {
    TLocalFree<unsigned char> copy(reinterpret_cast<unsigned char*>(LocalAllocCopy(data, count)));
    if (copy.Get() != nullptr && IsTextBuffer(data, count)) {
        int state = 0;
        const int decoded = kwbase64_decode(reinterpret_cast<char*>(copy.Get()), static_cast<int>(count), &state);
        if (decoded < 0 || state != 0) {
            SetLastError(ERROR_INVALID_DATA);
            LogOrStoreError(errorText, "GetCertContext. Ошибка перекодировки из BASE64.");
            return nullptr;
        }
        count = static_cast<DWORD>(decoded);
    }
    PCCERT_CONTEXT cert = CertCreateCertificateContext(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, copy.Get(), count);
    if (cert == nullptr)
        LogOrStoreError(errorText, "GetCertContext. Ошибка создания файла сертификата.");
    return cert;
}
