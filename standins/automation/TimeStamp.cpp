// The time-stamp client objects: the request (RFC 3161 TimeStampReq) and the stamp it brings.
#include "Objects.h"
#include "Rfc3161.h"
#include "Transport.h"

namespace {
enum { StampCertificate, StampVerify, StampTime };

std::string EncodeStampRequest(IDispatch* subject, const std::string& nonce, std::wstring&) {
    const auto* hashed = TAutomationObject::Behind<THashedDataObject>(subject);
    if (hashed == nullptr)
        throw TMemberFailure{E_INVALIDARG, L"Ожидается объект CAPICOM.HashedData"};
    return TimeStampRequest(hashed->Digest(), hashed->AlgorithmOid(), nonce);
}

// The token; its time must be readable.
std::string ReadStamp(const std::string& bytes) {
    const std::string token = TokenOfAnswer(bytes);
    TokenTime(token);
    return token;
}

void CallStamp(size_t member, const std::string& token, VARIANT* arguments, VARIANT& result) {
    switch (member) {
    case StampCertificate:
        ResultObject(result, new TCertificateObject(TokenSigner(token).Get()));
        break;
    case StampVerify: {
        const auto* cert = TAutomationObject::Behind<TCertificateObject>(arguments[0].pdispVal);
        if (cert == nullptr)
            throw TMemberFailure{E_INVALIDARG, L"Ожидается объект CAPICOM.Certificate"};
        result.vt = VT_I4;
        result.lVal = TokenSignatureHolds(token, cert->Context()) ? 0 : 1;
        break;
    }
    default:
        result.vt = VT_DATE;
        result.date = UtcToLocalDate(TokenTime(token));
    }
}
}  // namespace

const TServiceAnswerKind TspStamp = {
    L"TSPCOM.TSPStamp",
    {{L"TSACertificate", MemberGet, {}}, {L"VerifyStamp", MemberMethod, {VT_DISPATCH}}, {L"Time", MemberGet, {}}},
    L"Штамп не загружен",
    ReadStamp,
    CallStamp};

const TServiceRequestKind TspRequest = {L"TSPCOM.TSPRequest",
                                        L"TSAAddress",
                                        L"Hash",
                                        MemberPutRef,
                                        VT_BOOL,
                                        L"application/timestamp-query",
                                        L"Хэш запроса не задан",
                                        EncodeStampRequest,
                                        PolicyTspAddress,
                                        TspStamp};
