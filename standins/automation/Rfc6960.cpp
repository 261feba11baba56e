#include "Rfc6960.h"
#include <algorithm>
#include "Der.h"
#include "Rfc3161.h"

namespace {
const std::string Sha1Identifier = der::Element(der::Sequence, std::string("\x06\x05\x2B\x0E\x03\x02\x1A", 7) +
                                                                   der::Element(der::Null, ""));

std::string Bytes(const BYTE* data, DWORD size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

// The certificate's issuer, from the chain built now.
TCertContext IssuerOf(PCCERT_CONTEXT cert) {
    CERT_CHAIN_PARA parameters{};
    parameters.cbSize = sizeof parameters;
    TCertChain chain;
    if (!CertGetCertificateChain(nullptr, cert, nullptr, nullptr, &parameters, 0, nullptr, chain.Receive()) ||
        chain.Get()->cChain == 0 || chain.Get()->rgpChain[0]->cElement < 2)
        throw TMemberFailure{static_cast<HRESULT>(CERT_E_CHAINING), L"Не найден издатель сертификата"};
    return TCertContext(CertDuplicateCertificateContext(chain.Get()->rgpChain[0]->rgpElement[1]->pCertContext));
}

}  // namespace

// CertID: SHA-1 of the issuer's name and of its key, and the serial number.
std::string CertIdOf(PCCERT_CONTEXT cert) {
    const TCertContext issuer = IssuerOf(cert);
    const CERT_INFO& info = *cert->pCertInfo;
    const CRYPT_BIT_BLOB& key = issuer.Get()->pCertInfo->SubjectPublicKeyInfo.PublicKey;
    std::string serial = Bytes(info.SerialNumber.pbData, info.SerialNumber.cbData);
    std::reverse(serial.begin(), serial.end());  // CryptoAPI keeps it least significant byte first
    return der::Element(der::Sequence,
                        Sha1Identifier +
                            der::Element(der::OctetString, HashBytes(CALG_SHA1, Bytes(info.Issuer.pbData, info.Issuer.cbData))) +
                            der::Element(der::OctetString, HashBytes(CALG_SHA1, Bytes(key.pbData, key.cbData))) +
                            der::Element(der::Integer, serial));
}

// The URL of the certificate's OCSP access point; "" without one.
std::wstring OcspPointOf(PCCERT_CONTEXT cert) {
    const PCERT_EXTENSION extension = CertFindExtension(szOID_AUTHORITY_INFO_ACCESS, cert->pCertInfo->cExtension,
                                                        cert->pCertInfo->rgExtension);
    if (extension == nullptr)
        return std::wstring();
    PCERT_AUTHORITY_INFO_ACCESS access = nullptr;
    DWORD size = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_AUTHORITY_INFO_ACCESS, extension->Value.pbData,
                             extension->Value.cbData, CRYPT_DECODE_ALLOC_FLAG, nullptr, &access, &size))
        return std::wstring();
    std::wstring url;
    for (DWORD i = 0; i < access->cAccDescr && url.empty(); ++i) {
        const CERT_ACCESS_DESCRIPTION& point = access->rgAccDescr[i];
        if (strcmp(point.pszAccessMethod, szOID_PKIX_OCSP) == 0 && point.AccessLocation.dwAltNameChoice == CERT_ALT_NAME_URL)
            url = point.AccessLocation.pwszURL;
    }
    LocalFree(access);
    return url;
}

namespace {
[[noreturn]] void BadResponse() {
    throw TMemberFailure{static_cast<HRESULT>(CRYPT_E_ASN1_BADTAG), L"Данные не являются ответом OCSP"};
}

}  // namespace

// producedAt of a successful response; false for a response of another status, which has none.
bool ProducedAtOf(const std::string& response, SYSTEMTIME& time) {
    std::string content, status, bytes, bytesContent, type, basicOctets, basic, data, field;
    if (!der::Whole(response, der::Sequence, content))
        BadResponse();
    der::TReader reader(content);
    if (!reader.Expect(der::Enumerated, status))
        BadResponse();
    if (status != std::string(1, '\0'))
        return false;
    if (!reader.Expect(der::ContextZero, bytes) || !der::Whole(bytes, der::Sequence, bytesContent))
        BadResponse();
    der::TReader inner(bytesContent);
    if (!inner.Expect(der::ObjectId, type) || !inner.Expect(der::OctetString, basicOctets) ||
        !der::Whole(basicOctets, der::Sequence, basic))
        BadResponse();
    der::TReader basicReader(basic);
    if (!basicReader.Expect(der::Sequence, data))
        BadResponse();
    der::TReader dataReader(data);
    unsigned char tag = 0;
    if (!dataReader.Next(tag, field))
        BadResponse();
    if (tag == der::ContextZero && !dataReader.Next(tag, field))  // the version, then the responder
        BadResponse();
    if (!dataReader.Expect(der::GeneralizedTime, field) || !ParseGeneralizedTime(field, time))
        BadResponse();
    return true;
}

std::string OcspRequestOf(const std::string& certId) {
    const std::string request = der::Element(der::Sequence, certId);
    return der::Element(der::Sequence, der::Element(der::Sequence, der::Element(der::Sequence, request)));
}

void CheckOcspResponse(const std::string& bytes) {
    std::string content, status;
    if (!der::Whole(bytes, der::Sequence, content) || !der::TReader(content).Expect(der::Enumerated, status))
        BadResponse();
}
