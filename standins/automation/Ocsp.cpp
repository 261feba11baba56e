// The OCSP client objects: the request (RFC 6960 OCSPRequest for one certificate) and the
// response it brings.
#include "Journal.h"
#include "Objects.h"
#include "Rfc6960.h"
#include "Transport.h"

namespace {
std::string EncodeOcspRequest(IDispatch* subject, const std::string&, std::wstring& responder) {
    const auto* object = TAutomationObject::Behind<TCertificateObject>(subject);
    if (object == nullptr)
        throw TMemberFailure{E_INVALIDARG, L"Ожидается объект CAPICOM.Certificate"};
    const std::string request = OcspRequestOf(CertIdOf(object->Context()));
    responder = OcspPointOf(object->Context());
    return request;
}

std::string ReadOcspResponse(const std::string& bytes) {
    CheckOcspResponse(bytes);
    return bytes;
}

void CallOcspResponse(size_t, const std::string& response, VARIANT*, VARIANT& result) {
    SYSTEMTIME time{};
    if (!ProducedAtOf(response, time))
        return;  // empty: a response without data has no production time
    result.vt = VT_DATE;
    result.date = UtcToLocalDate(time) + ScriptedSkewSeconds(L"OCSPCOM.OCSPResponse.ProducedAt") / 86400.0;
}
}  // namespace

const TServiceAnswerKind OcspResponse = {L"OCSPCOM.OCSPResponse",
                                         {{L"ProducedAt", MemberGet, {}}},
                                         L"Ответ не загружен",
                                         ReadOcspResponse,
                                         CallOcspResponse};

const TServiceRequestKind OcspRequest = {L"OCSPCOM.OCSPRequest",
                                         L"OCSPAddress",
                                         L"AddSingleRequest",
                                         MemberMethod,
                                         VT_I4,
                                         L"application/ocsp-request",
                                         L"Сертификат запроса не задан",
                                         EncodeOcspRequest,
                                         nullptr,
                                         OcspResponse};
