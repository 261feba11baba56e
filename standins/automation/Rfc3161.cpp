#include "Rfc3161.h"
#include <vector>
#include "Der.h"

namespace {
const char* const TstInfoOid = "1.2.840.113549.1.9.16.1.4";

std::string ObjectId(const char* dotted) {
    const std::string id = der::ObjectIdentifier(dotted);
    if (id.empty())
        throw TMemberFailure{E_INVALIDARG, L"Неизвестный идентификатор алгоритма"};
    return id;
}

}  // namespace

std::wstring PolicyTspAddress() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        wchar_t value[1024] = {};
        DWORD size = sizeof value - sizeof(wchar_t);
        if (RegGetValueW(root, L"SOFTWARE\\Policies\\Crypto-Pro\\TSP", L"DefaultTSPURL", RRF_RT_REG_SZ, nullptr,
                         value, &size) == ERROR_SUCCESS)
            return value;
    }
    return std::wstring();
}

namespace {
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

// The TSTInfo's time and message imprint.
SYSTEMTIME GenTimeOf(const std::string& tstInfo, std::string* imprint = nullptr) {
    std::string content, field, messageImprint;
    if (!der::Whole(tstInfo, der::Sequence, content))
        BadToken();
    der::TReader reader(content);
    SYSTEMTIME time{};
    if (!reader.Expect(der::Integer, field) || !reader.Expect(der::ObjectId, field) ||
        !reader.Expect(der::Sequence, messageImprint) || !reader.Expect(der::Integer, field) ||
        !reader.Expect(der::GeneralizedTime, field) || !ParseGeneralizedTime(field, time))
        BadToken();
    if (imprint)
        *imprint = messageImprint;
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
}  // namespace

TCertContext TokenSigner(const std::string& token) {
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


std::string TimeStampRequest(const std::string& digest, const char* algorithmOid, const std::string& nonce) {
    const std::string algorithm = der::Element(der::Sequence, ObjectId(algorithmOid) + der::Element(der::Null, ""));
    const std::string imprint = der::Element(der::Sequence, algorithm + der::Element(der::OctetString, digest));
    return der::Element(der::Sequence, der::Element(der::Integer, std::string(1, '\1')) + imprint +
                                           der::PositiveInteger(nonce) + der::Element(der::Boolean, "\xFF"));
}

std::string TokenOfAnswer(const std::string& bytes) {
    std::string content, first;
    unsigned char tag = 0;
    if (!der::Whole(bytes, der::Sequence, content))
        BadToken();
    der::TReader reader(content);
    if (!reader.Next(tag, first))
        BadToken();
    std::string token = bytes;
    if (tag == der::Sequence) {  // TimeStampResp: PKIStatusInfo, then the token
        std::string inner, statusValue;
        der::TReader statusInfo(first);
        if (!statusInfo.Expect(der::Integer, statusValue) || statusValue.size() != 1 || statusValue[0] > 1)
            throw TMemberFailure{E_FAIL, L"Служба штампов времени отказала в штампе"};
        if (!reader.Expect(der::Sequence, inner))
            BadToken();
        token = der::Element(der::Sequence, inner);
    }
    TokenTime(token);
    TokenMessage(token);
    return token;
}

SYSTEMTIME TokenTime(const std::string& token) {
    return GenTimeOf(TstInfoOf(token));
}

bool TokenSignatureHolds(const std::string& token, PCCERT_CONTEXT cert) {
    TCryptMsg message = TokenMessage(token);
    return CryptMsgControl(message.Get(), 0, CMSG_CTRL_VERIFY_SIGNATURE, cert->pCertInfo) != FALSE;
}

std::string TokenImprint(const std::string& token, ALG_ID& algorithm) {
    std::string imprint, identifier, hash, oid;
    GenTimeOf(TstInfoOf(token), &imprint);
    der::TReader reader(imprint);
    if (!reader.Expect(der::Sequence, identifier) || !reader.Expect(der::OctetString, hash) ||
        !der::TReader(identifier).Expect(der::ObjectId, oid))
        BadToken();
    algorithm = der::Element(der::ObjectId, oid) == ObjectId("1.3.14.3.2.26")            ? CALG_SHA1
                : der::Element(der::ObjectId, oid) == ObjectId("2.16.840.1.101.3.4.2.1") ? CALG_SHA_256
                                                                                          : 0;
    return hash;
}
