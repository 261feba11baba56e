#include "CertChain.h"
#include "CertApi.h"
#include "CertText.h"
#include "CryptOwned.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "Seam.h"
#include "StringHelpers.h"
#include "VyrnLog.h"

namespace {
struct TStatusLine {
    DWORD Bit;
    const char* Line;
};

// In the order the lines are written: the partial chain comes last.
const TStatusLine StatusLines[] = {
    {0x1, "\r\n- Просрочен."},
    {0x2, "\r\n- Are not properly time nested."},
    {0x4, "\r\n- Отозван."},
    {0x8, "\r\n- Имеет не правильную подпись."},
    {0x10, "\r\n- Недействителен для данного назначения."},
    {0x20, "\r\n- Нет доверия к корневому сертификату."},
    {0x40, "\r\n- TRUST REVOCATION STATUS UNKNOWN."},
    {0x80, "\r\n- Издан сертификатом, который сам заверяет."},
    {0x100, "\r\n- Имеет неправильное extension."},
    {0x200, "\r\n- Имеет запрещенное политикое extension."},
    {0x400, "\r\n- Has a basic constraints extension and."},
    {0x800, "\r\n- Has an invalid name constraints extension."},
    {0x1000, "\r\n- Has a name constraints extension containing unsupported fields."},
    {0x2000,
     "\r\n- Has a name constraints extension and a name constraint is missing for one of the name choices in the "
     "end certificate."},
    {0x4000,
     "\r\n- Has a name constraints extension and there is not a permitted name constraint for one of the name "
     "choices in the end certificate."},
    {0x8000,
     "\r\n- The certificate or one of the certificates in the certificate chain has a name constraints extension "
     "and one of the name choices in the end certificate is explicitly excluded."},
    {0x1000000, "\r\n- Revocation status is either off-line or stale."},
    {0x2000000,
     "\r\n- The end certificate does not have any resultant issuance policies, and one of the issuing CA "
     "certificates has a policy constraints extension requiring it."},
    {0x10000, "\r\n- CERT_TRUST_IS_PARTIAL_CHAIN."},
};

// The chain of the default engine, with no additional store and no usage asked for.
bool BuildChain(PCCERT_CONTEXT cert, FILETIME* time, DWORD flags, TCertChain& chain) {
    CERT_CHAIN_PARA parameters{};
    parameters.cbSize = sizeof parameters;
    return Seam<TCertApi>().CertGetCertificateChain(nullptr, cert, time, nullptr, &parameters, flags, nullptr,
                                                    chain.Receive()) != FALSE;
}
}  // namespace

PCCERT_CONTEXT MyGetCertIssuer(PCCERT_CONTEXT cert, bool root, std::string* errorText) {
    TCertChain chain;
    if (!BuildChain(cert, nullptr, 0, chain)) {
        LogOrStoreError(errorText, "MyGetCertIssuer. Не удается построить цепочку сертификатов.");
        return nullptr;
    }
    const CERT_SIMPLE_CHAIN* simple = chain.Get()->cChain != 0 ? chain.Get()->rgpChain[0] : nullptr;
    if (simple == nullptr || simple->cElement < 2) {
        LogOrStoreError(errorText,
                        "MyGetCertIssuer. Не удается найти сертификат издателя.  Попробуйте установить актуальную "
                        "цепочку сертификатов.");
        return nullptr;
    }
    const DWORD index = root ? simple->cElement - 1 : 1;
    PCCERT_CONTEXT issuer = Seam<TCertApi>().CertDuplicateCertificateContext(simple->rgpElement[index]->pCertContext);
    if (issuer == nullptr)
        LogOrStoreError(errorText, "MyGetCertIssuer. Ошибка при дублировании сертификат издателя.");
    return issuer;
}

std::string ChainErrorStatusText(DWORD status) {
    if (status == 0)
        return std::string();
    std::string text = "Сертификат или издатель в цепочке (Status: " + IntToHexStdString(static_cast<int>(status)) +
                       "):";
    for (const TStatusLine& line : StatusLines)
        if ((status & line.Bit) != 0)
            text += line.Line;
    return text;
}

std::string ChainElementsText(PCCERT_CHAIN_CONTEXT chain) {
    std::string text;
    for (DWORD i = 0; i < chain->cChain; ++i) {
        const CERT_SIMPLE_CHAIN* simple = chain->rgpChain[i];
        if (i < simple->cElement) {
            TLocalFree<char> name(GetCertSubjectCN(simple->rgpElement[i]->pCertContext));
            if (name.Get() != nullptr)
                text += name.Get();
        }
        text += "::" + ChainErrorStatusText(simple->TrustStatus.dwErrorStatus);
    }
    return text;
}

int CheckCertChainAtTime(PCCERT_CONTEXT cert, const SYSTEMTIME* time, DWORD flags, std::string* errorText) {
    FILETIME at{};
    TCertChain chain;
    if ((time != nullptr && !SystemTimeToFileTime(time, &at)) ||
        !BuildChain(cert, time != nullptr ? &at : nullptr, flags, chain)) {
        LogOrStoreError(errorText, "CertGetCertificateChain failed");
        return -1;
    }
    const DWORD status = chain.Get()->cChain != 0 ? chain.Get()->rgpChain[0]->TrustStatus.dwErrorStatus
                                                  : chain.Get()->TrustStatus.dwErrorStatus;
    const std::string text = ChainErrorStatusText(status);
    if (text.empty())
        return 0;
    StoreErrorText(errorText, text);
    VYRNLog(ChainElementsText(chain.Get()));
    return static_cast<int>(status);
}
