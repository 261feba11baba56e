// The CAPICOM objects: the certificate and the hashed data.
#include "Objects.h"
#include <vector>

namespace {
enum { CertImport, CertExport };
enum { HashAlgorithm, HashHash };

// CAPICOM's hash algorithm numbers: the CryptoAPI algorithm and its OID.
struct THashAlgorithm {
    int number;
    ALG_ID id;
    const char* oid;
};
const THashAlgorithm HashAlgorithms[] = {
    {0, CALG_SHA1, "1.3.14.3.2.26"},           {3, CALG_MD5, "1.2.840.113549.2.5"},
    {4, CALG_SHA_256, "2.16.840.1.101.3.4.2.1"}, {5, CALG_SHA_384, "2.16.840.1.101.3.4.2.2"},
    {6, CALG_SHA_512, "2.16.840.1.101.3.4.2.3"},
};

const THashAlgorithm* AlgorithmOf(int number) {
    for (const THashAlgorithm& algorithm : HashAlgorithms)
        if (algorithm.number == number)
            return &algorithm;
    return nullptr;
}
}  // namespace

TCertificateObject::TCertificateObject()
    : TAutomationObject(L"CAPICOM.Certificate", {{L"Import", MemberMethod, {VT_BSTR}},
                                                 {L"Export", MemberMethod, {VT_I4}}}) {}

TCertificateObject::TCertificateObject(PCCERT_CONTEXT cert) : TCertificateObject() {
    context.Reset(CertDuplicateCertificateContext(cert));
}

PCCERT_CONTEXT TCertificateObject::Context() const {
    if (!context)
        throw TMemberFailure{E_UNEXPECTED, L"Сертификат не загружен"};
    return context.Get();
}

void TCertificateObject::Call(size_t member, VARIANT* arguments, VARIANT& result) {
    if (member == CertImport) {
        const BSTR text = arguments[0].bstrVal;
        DWORD size = 0;
        if (!CryptStringToBinaryW(text, SysStringLen(text), CRYPT_STRING_BASE64, nullptr, &size, nullptr, nullptr))
            throw TMemberFailure{HRESULT_FROM_WIN32(GetLastError()), L"Не base64"};
        std::vector<BYTE> der(size);
        CryptStringToBinaryW(text, SysStringLen(text), CRYPT_STRING_BASE64, der.data(), &size, nullptr, nullptr);
        PCCERT_CONTEXT imported = CertCreateCertificateContext(X509_ASN_ENCODING, der.data(), size);
        if (imported == nullptr)
            throw TMemberFailure{HRESULT_FROM_WIN32(GetLastError()), L"Данные не являются сертификатом"};
        context.Reset(imported);
        return;
    }
    if (arguments[0].lVal != 0)
        throw TMemberFailure{E_INVALIDARG, L"Поддерживается только CAPICOM_ENCODE_BASE64"};
    const PCCERT_CONTEXT cert = Context();
    DWORD size = 0;
    CryptBinaryToStringW(cert->pbCertEncoded, cert->cbCertEncoded, CRYPT_STRING_BASE64, nullptr, &size);
    std::vector<wchar_t> text(size + 1);
    CryptBinaryToStringW(cert->pbCertEncoded, cert->cbCertEncoded, CRYPT_STRING_BASE64, text.data(), &size);
    result.vt = VT_BSTR;
    result.bstrVal = SysAllocString(text.data());
}

THashedDataObject::THashedDataObject()
    : TAutomationObject(L"CAPICOM.HashedData", {{L"Algorithm", MemberPut, {VT_I4}},
                                                {L"hash", MemberMethod, {VT_BSTR}}}) {}

const std::string& THashedDataObject::Digest() const {
    if (!hashed)
        throw TMemberFailure{E_UNEXPECTED, L"Данные не хэшированы"};
    return digest;
}

const char* THashedDataObject::AlgorithmOid() const {
    return AlgorithmOf(algorithm)->oid;
}

void THashedDataObject::Call(size_t member, VARIANT* arguments, VARIANT&) {
    if (member == HashAlgorithm) {
        if (AlgorithmOf(arguments[0].lVal) == nullptr)
            throw TMemberFailure{E_INVALIDARG, L"Неизвестный алгоритм хэширования"};
        algorithm = arguments[0].lVal;
        return;
    }
    digest = HashBytes(AlgorithmOf(algorithm)->id, BstrBytes(arguments[0].bstrVal));
    hashed = true;
}

