// The OCSP client objects: the request (RFC 6960 OCSPRequest for one certificate) and the
// response it brings.
#include "Journal.h"
#include "Objects.h"
#include "Rfc6960.h"
#include "Transport.h"

namespace {
enum { RequestAddress, RequestAdd, RequestExport, RequestSend, RequestStatus };
enum { ResponseImport, ResponseExport, ResponseProducedAt };
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
    return OcspRequestOf(certId);
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
    case RequestSend:
        SendRequest<TOcspResponseObject>(result, status, Responder(), L"application/ocsp-request", Encoded());
        break;
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
    CheckOcspResponse(bytes);
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
    result.date = UtcToLocalDate(time) + ScriptedSkewSeconds(L"OCSPCOM.OCSPResponse.ProducedAt") / 86400.0;
}
