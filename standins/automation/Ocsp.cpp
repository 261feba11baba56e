// The OCSP client objects: the request (RFC 6960 OCSPRequest for one certificate) and the
// response it brings.
#include "Der.h"
#include "Objects.h"
#include "Transport.h"
#include <algorithm>
#include <vector>

namespace {
enum { RequestAddress, RequestAdd, RequestExport, RequestSend, RequestStatus };
enum { ResponseImport, ResponseExport, ResponseProducedAt };

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

[[noreturn]] void BadResponse() {
    throw TMemberFailure{static_cast<HRESULT>(CRYPT_E_ASN1_BADTAG), L"Данные не являются ответом OCSP"};
}

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
}  // namespace

TOcspRequestObject::TOcspRequestObject()
    : TAutomationObject(L"OCSPCOM.OCSPRequest", {{L"OCSPAddress", MemberPut, {VT_BSTR}},
                                                 {L"AddSingleRequest", MemberMethod, {VT_DISPATCH}},
                                                 {L"Export", MemberMethod, {}},
                                                 {L"Send", MemberMethod, {VT_I4}},
                                                 {L"HTTPStatus", MemberGet, {}}}) {}

std::string TOcspRequestObject::Encoded() const {
    if (certId.empty())
        throw TMemberFailure{E_UNEXPECTED, L"Сертификат запроса не задан"};
    const std::string request = der::Element(der::Sequence, certId);
    return der::Element(der::Sequence, der::Element(der::Sequence, der::Element(der::Sequence, request)));
}

std::wstring TOcspRequestObject::Responder() const {
    return address.empty() && cert ? OcspPointOf(cert.Get()) : address;
}

void TOcspRequestObject::Call(size_t member, VARIANT* arguments, VARIANT& result) {
    switch (member) {
    case RequestAddress:
        address.assign(arguments[0].bstrVal, SysStringLen(arguments[0].bstrVal));
        break;
    case RequestAdd: {
        const auto* object = Behind<TCertificateObject>(arguments[0].pdispVal);
        if (object == nullptr)
            throw TMemberFailure{E_INVALIDARG, L"Ожидается объект CAPICOM.Certificate"};
        certId = CertIdOf(object->Context());
        cert.Reset(CertDuplicateCertificateContext(object->Context()));
        break;
    }
    case RequestExport:
        result.vt = VT_BSTR;
        result.bstrVal = BytesToBstr(Encoded());
        break;
    case RequestSend: {
        const THttpAnswer answer = PostRequest(Responder(), L"application/ocsp-request", Encoded());
        status = static_cast<long>(answer.status);
        auto* response = new TOcspResponseObject();
        if (answer.status == 200) {
            try {
                response->Take(answer.body);
            } catch (...) {
                response->Release();
                throw;
            }
        }
        ResultObject(result, response);
        break;
    }
    default:
        result.vt = VT_I4;
        result.lVal = status;
    }
}

TOcspResponseObject::TOcspResponseObject()
    : TAutomationObject(L"OCSPCOM.OCSPResponse", {{L"Import", MemberMethod, {VT_BSTR}},
                                                  {L"Export", MemberMethod, {}},
                                                  {L"ProducedAt", MemberGet, {}}}) {}

void TOcspResponseObject::Take(const std::string& bytes) {
    std::string content, status;
    if (!der::Whole(bytes, der::Sequence, content) || !der::TReader(content).Expect(der::Enumerated, status))
        BadResponse();
    response = bytes;
}

void TOcspResponseObject::Call(size_t member, VARIANT* arguments, VARIANT& result) {
    if (member == ResponseImport) {
        Take(BstrBytes(arguments[0].bstrVal));
        return;
    }
    if (response.empty())
        throw TMemberFailure{E_UNEXPECTED, L"Ответ не загружен"};
    if (member == ResponseExport) {
        result.vt = VT_BSTR;
        result.bstrVal = BytesToBstr(response);
        return;
    }
    SYSTEMTIME time{};
    if (!ProducedAtOf(response, time))
        return;  // empty: a response without data has no production time
    result.vt = VT_DATE;
    result.date = UtcToLocalDate(time);
}
