// The time-stamp client objects: the request (RFC 3161 TimeStampReq) and the stamp it brings.
#include "Objects.h"
#include "Rfc3161.h"
#include "Transport.h"

namespace {
enum { RequestAddress, RequestHash, RequestExport, RequestSend, RequestStatus };
enum { StampImport, StampExport, StampCertificate, StampVerify, StampTime };
}  // namespace

TTspRequestObject::TTspRequestObject()
    : TAutomationObject(L"TSPCOM.TSPRequest", {{L"TSAAddress", MemberPut, {VT_BSTR}},
                                               {L"Hash", MemberPutRef, {VT_DISPATCH}},
                                               {L"Export", MemberMethod, {}},
                                               {L"Send", MemberMethod, {VT_BOOL}},
                                               {L"HTTPStatus", MemberGet, {}}}) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    nonce.assign(reinterpret_cast<const char*>(&counter), sizeof counter);
}

std::string TTspRequestObject::Encoded() const {
    if (digest.empty())
        throw TMemberFailure{E_UNEXPECTED, L"Хэш запроса не задан"};
    return TimeStampRequest(digest, algorithmOid.c_str(), nonce);
}

void TTspRequestObject::Call(size_t member, VARIANT* arguments, VARIANT& result) {
    switch (member) {
    case RequestAddress:
        address.assign(arguments[0].bstrVal, SysStringLen(arguments[0].bstrVal));
        break;
    case RequestHash: {
        const auto* hashed = Behind<THashedDataObject>(arguments[0].pdispVal);
        if (hashed == nullptr)
            throw TMemberFailure{E_INVALIDARG, L"Ожидается объект CAPICOM.HashedData"};
        digest = hashed->Digest();
        algorithmOid = hashed->AlgorithmOid();
        break;
    }
    case RequestExport:
        result.vt = VT_BSTR;
        result.bstrVal = BytesToBstr(Encoded());
        break;
    case RequestSend:
        SendRequest<TTspStampObject>(result, status, address.empty() ? PolicyTspAddress() : address,
                                     L"application/timestamp-query", Encoded());
        break;
    default:
        result.vt = VT_I4;
        result.lVal = status;
    }
}

TTspStampObject::TTspStampObject()
    : TAutomationObject(L"TSPCOM.TSPStamp", {{L"Import", MemberMethod, {VT_BSTR}},
                                             {L"Export", MemberMethod, {}},
                                             {L"TSACertificate", MemberGet, {}},
                                             {L"VerifyStamp", MemberMethod, {VT_DISPATCH}},
                                             {L"Time", MemberGet, {}}}) {}

void TTspStampObject::Take(const std::string& bytes) {
    const std::string candidate = TokenOfAnswer(bytes);
    time = TokenTime(candidate);
    token = candidate;
}

void TTspStampObject::Call(size_t member, VARIANT* arguments, VARIANT& result) {
    if (member == StampImport) {
        Take(BstrBytes(arguments[0].bstrVal));
        return;
    }
    if (token.empty())
        throw TMemberFailure{E_UNEXPECTED, L"Штамп не загружен"};
    switch (member) {
    case StampExport:
        result.vt = VT_BSTR;
        result.bstrVal = BytesToBstr(token);
        break;
    case StampCertificate:
        ResultObject(result, new TCertificateObject(TokenSigner(token).Get()));
        break;
    case StampVerify: {
        const auto* cert = Behind<TCertificateObject>(arguments[0].pdispVal);
        if (cert == nullptr)
            throw TMemberFailure{E_INVALIDARG, L"Ожидается объект CAPICOM.Certificate"};
        result.vt = VT_I4;
        result.lVal = TokenSignatureHolds(token, cert->Context()) ? 0 : 1;
        break;
    }
    default:
        result.vt = VT_DATE;
        result.date = UtcToLocalDate(time);
    }
}
