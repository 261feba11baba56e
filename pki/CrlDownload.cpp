#include "Base64.h"
#include "Conversions.h"
#include "CrlInstall.h"
#include "ErrorText.h"
#include "HttpFactory.h"
#include "StringHelpers.h"

namespace {
// The CA's CRL files that are never downloaded.
const char* const SkippedFiles[] = {"ca-kqmr(2)", "ca-kqmr(4)", "ca-kqmr(6)"};
constexpr int DownloadTimeout = 500;  // milliseconds, for connecting, sending and receiving

bool IsSkipped(const std::string& path) {
    for (const char* file : SkippedFiles)
        if (path.find(file) != std::string::npos)
            return true;
    return false;
}
}  // namespace

PCCRL_CONTEXT GetCRLFromURL(const std::string& url, std::string* errorText) {
    std::unique_ptr<TAllHTTP> client = CreateHttpClient(false, 0);
    std::string host, path;
    if (!SplitHostPath(url, host, path)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        LogOrStoreError(errorText, "GetCRLFromURL. Ошибка разбора адреса точки распределения сертификатов");
        return nullptr;
    }
    if (client->Connect(host, 0) != 0) {
        StoreErrorText(errorText, client->GetLastErrorText());
        return nullptr;
    }
    client->SetTimeouts(DownloadTimeout);
    if (IsSkipped(path)) {
        StoreErrorText(errorText, "CRL " + path + " игнорирован.");
        return nullptr;
    }
    if (client->SendForm(path, nullptr, VerbGet) != 0) {
        StoreErrorText(errorText, client->GetLastErrorText());
        return nullptr;
    }
    int length = client->GetResponseSize();
    // The body is the client's own block, which goes with the client: it is decoded in place.
    auto* body = static_cast<BYTE*>(const_cast<void*>(client->GetResponse(false)));
    if (body != nullptr && IsTextBuffer(body, static_cast<size_t>(length))) {
        int state = 0;
        length = kwbase64_decode(reinterpret_cast<char*>(body), length, &state);
        if (length < 0)
            length = 0;  // no base64 (a PEM or HTML page): no CRL
    }
    PCCRL_CONTEXT crl = CertCreateCRLContext(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, body,
                                             body != nullptr ? static_cast<DWORD>(length) : 0);
    if (crl == nullptr)
        LogOrStoreError(errorText, "GetCRLFromURL. Ошибка создания контекста CRL.");
    return crl;
}
