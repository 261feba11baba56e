// The time-stamp client objects: the request (RFC 3161 TimeStampReq) and the stamp it brings.
#include "Der.h"
#include "Objects.h"
#include "Transport.h"
#include <vector>

namespace {
enum { RequestAddress, RequestHash, RequestExport, RequestSend, RequestStatus };
enum { StampImport, StampExport, StampCertificate, StampVerify, StampTime };

const char* const TstInfoOid = "1.2.840.113549.1.9.16.1.4";

std::string ObjectId(const char* dotted) {
    const std::string id = der::ObjectIdentifier(dotted);
    if (id.empty())
        throw TMemberFailure{E_INVALIDARG, L"Неизвестный идентификатор алгоритма"};
    return id;
}

std::wstring PolicyAddress() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        wchar_t value[1024] = {};
        DWORD size = sizeof value - sizeof(wchar_t);
        if (RegGetValueW(root, L"SOFTWARE\\Policies\\Crypto-Pro\\TSP", L"DefaultTSPURL", RRF_RT_REG_SZ, nullptr,
                         value, &size) == ERROR_SUCCESS)
            return value;
    }
    return std::wstring();
}

[[noreturn]] void BadToken() {
    throw TMemberFailure{static_cast<HRESULT>(CRYPT_E_ASN1_BADTAG), L"Данные не являются штампом времени"};
}

// The TSTInfo inside a token (ContentInfo of SignedData).
std::string TstInfoOf(const std::string& token) {
    std::string info, signedData, field, encapsulated, type, explicitContent, octets;
    if (!der::Whole(token, der::Sequence, info))
        BadToken();
    der::TReader contentInfo(info);
    if (!contentInfo.Expect(der::ObjectId, field) || !contentInfo.Expect(der::ContextZero, explicitContent) ||
        !der::Whole(explicitContent, der::Sequence, signedData))
        BadToken();
    der::TReader fields(signedData);
    unsigned char tag = 0;
    if (!fields.Expect(der::Integer, field) || !fields.Next(tag, field) ||
        !fields.Expect(der::Sequence, encapsulated))
        BadToken();
    der::TReader encap(encapsulated);
    if (!encap.Expect(der::ObjectId, type) || type != ObjectId(TstInfoOid).substr(2) ||
        !encap.Expect(der::ContextZero, explicitContent) || !der::Whole(explicitContent, der::OctetString, octets))
        BadToken();
    return octets;
}

SYSTEMTIME GenTimeOf(const std::string& tstInfo) {
    std::string content, field;
    if (!der::Whole(tstInfo, der::Sequence, content))
        BadToken();
    der::TReader reader(content);
    SYSTEMTIME time{};
    if (!reader.Expect(der::Integer, field) || !reader.Expect(der::ObjectId, field) ||
        !reader.Expect(der::Sequence, field) || !reader.Expect(der::Integer, field) ||
        !reader.Expect(der::GeneralizedTime, field) || !ParseGeneralizedTime(field, time))
        BadToken();
    return time;
}

// The token's signed message, decoded.
TCryptMsg TokenMessage(const std::string& token) {
    TCryptMsg message(CryptMsgOpenToDecode(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, 0, 0, nullptr, nullptr));
    if (!message || !CryptMsgUpdate(message.Get(), reinterpret_cast<const BYTE*>(token.data()),
                                    static_cast<DWORD>(token.size()), TRUE))
        BadToken();
    return message;
}

// The certificate of the token's signer, from the token's own certificates.
TCertContext SignerOf(const std::string& token) {
    TCryptMsg message = TokenMessage(token);
    DWORD size = 0;
    if (!CryptMsgGetParam(message.Get(), CMSG_SIGNER_CERT_INFO_PARAM, 0, nullptr, &size))
        BadToken();
    std::vector<BYTE> info(size);
    CryptMsgGetParam(message.Get(), CMSG_SIGNER_CERT_INFO_PARAM, 0, info.data(), &size);
    TCertStore store(CertOpenStore(CERT_STORE_PROV_MSG, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, 0, message.Get()));
    TCertContext signer(store ? CertGetSubjectCertificateFromStore(store.Get(), X509_ASN_ENCODING,
                                                                     reinterpret_cast<PCERT_INFO>(info.data()))
                              : nullptr);
    if (!signer)
        throw TMemberFailure{static_cast<HRESULT>(CRYPT_E_NOT_FOUND), L"В штампе нет сертификата службы"};
    return signer;
}
}  // namespace

bool ParseGeneralizedTime(const std::string& text, SYSTEMTIME& time) {
    if (text.size() < 15 || text.back() != 'Z')
        return false;
    for (size_t i = 0; i < 14; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    auto number = [&](size_t at, size_t digits) { return static_cast<WORD>(std::stoi(text.substr(at, digits))); };
    time = SYSTEMTIME{};
    time.wYear = number(0, 4);
    time.wMonth = number(4, 2);
    time.wDay = number(6, 2);
    time.wHour = number(8, 2);
    time.wMinute = number(10, 2);
    time.wSecond = number(12, 2);
    if (text.size() > 15 && text[14] == '.' && text.size() > 16 && text[15] >= '0' && text[15] <= '9')
        time.wMilliseconds = static_cast<WORD>((text[15] - '0') * 100);
    FILETIME check;
    return SystemTimeToFileTime(&time, &check) != FALSE;
}

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
    const std::string algorithm =
        der::Element(der::Sequence, ObjectId(algorithmOid.c_str()) + der::Element(der::Null, ""));
    const std::string imprint = der::Element(der::Sequence, algorithm + der::Element(der::OctetString, digest));
    return der::Element(der::Sequence, der::Element(der::Integer, std::string(1, '\1')) + imprint +
                                           der::PositiveInteger(nonce) + der::Element(der::Boolean, "\xFF"));
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
    case RequestSend: {
        const THttpAnswer answer = PostRequest(address.empty() ? PolicyAddress() : address,
                                               L"application/timestamp-query", Encoded());
        status = static_cast<long>(answer.status);
        auto* stamp = new TTspStampObject();
        if (answer.status == 200) {
            try {
                stamp->Take(answer.body);
            } catch (...) {
                stamp->Release();
                throw;
            }
        }
        ResultObject(result, stamp);
        break;
    }
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
    std::string content, first;
    unsigned char tag = 0;
    if (!der::Whole(bytes, der::Sequence, content))
        BadToken();
    der::TReader reader(content);
    if (!reader.Next(tag, first))
        BadToken();
    std::string candidate = bytes;
    if (tag == der::Sequence) {  // TimeStampResp: PKIStatusInfo, then the token
        std::string status, statusValue;
        der::TReader statusInfo(first);
        if (!statusInfo.Expect(der::Integer, statusValue) || statusValue.size() != 1 || statusValue[0] > 1)
            throw TMemberFailure{E_FAIL, L"Служба штампов времени отказала в штампе"};
        if (!reader.Expect(der::Sequence, status))
            BadToken();
        candidate = der::Element(der::Sequence, status);
    }
    const SYSTEMTIME genTime = GenTimeOf(TstInfoOf(candidate));
    TokenMessage(candidate);
    token = candidate;
    time = genTime;
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
        ResultObject(result, new TCertificateObject(SignerOf(token).Get()));
        break;
    case StampVerify: {
        const auto* cert = Behind<TCertificateObject>(arguments[0].pdispVal);
        if (cert == nullptr)
            throw TMemberFailure{E_INVALIDARG, L"Ожидается объект CAPICOM.Certificate"};
        TCryptMsg message = TokenMessage(token);
        result.vt = VT_I4;
        result.lVal = CryptMsgControl(message.Get(), 0, CMSG_CTRL_VERIFY_SIGNATURE, cert->Context()->pCertInfo) ? 0 : 1;
        break;
    }
    default:
        result.vt = VT_DATE;
        result.date = UtcToLocalDate(time);
    }
}
