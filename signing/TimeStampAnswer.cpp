#include "TimeStampAnswer.h"
#include <windows.h>
#include <wincrypt.h>
#include "Conversions.h"
#include "ErrorText.h"
#include "LocalFree.h"

namespace {
constexpr DWORD Encoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
constexpr BYTE SequenceTag = 0x30, BitStringTag = 0x03;

// The bytes decoded by the platform as the structure type into a local-heap block; empty when
// they are not one.
template <typename T>
TLocalFree<T> Decoded(LPCSTR type, const BYTE* bytes, DWORD size) {
    void* block = nullptr;
    DWORD length = 0;
    if (size == 0 ||
        !CryptDecodeObjectEx(Encoding, type, bytes, size, CRYPT_DECODE_ALLOC_FLAG, nullptr, &block, &length))
        return TLocalFree<T>();
    return TLocalFree<T>(static_cast<T*>(block));
}

template <typename T>
TLocalFree<T> Decoded(LPCSTR type, const CRYPT_DER_BLOB& blob) {
    return Decoded<T>(type, blob.pbData, blob.cbData);
}

// The DER size of a SEQUENCE whose elements take content bytes: tag, length, content.
size_t SequenceSize(size_t content) {
    size_t lengthBytes = 1;
    if (content >= 0x80)
        for (size_t rest = content; rest != 0; rest >>= 8)
            ++lengthBytes;
    return 1 + lengthBytes + content;
}

// Whether the sequence's elements, with its tag and length, take all of the size bytes.
bool TakesAll(const CRYPT_SEQUENCE_OF_ANY& sequence, size_t size) {
    size_t content = 0;
    for (DWORD i = 0; i < sequence.cValue; ++i)
        content += sequence.rgValue[i].cbData;
    return SequenceSize(content) == size;
}

const char* StatusName(int status) {
    static const char* const names[] = {"granted", "grantedWithMods",   "rejection",
                                        "waiting", "revocationWarning", "revocationNotification"};
    return status >= 0 && status < 6 ? names[status] : "?";
}

const char* FailureName(DWORD bit) {
    switch (bit) {
    case 0:
        return "badAlg";
    case 2:
        return "badRequest";
    case 5:
        return "badDataFormat";
    case 14:
        return "timeNotAvailable";
    case 15:
        return "unacceptedPolicy";
    case 16:
        return "unacceptedExtension";
    case 17:
        return "addInfoNotAvailable";
    case 25:
        return "systemFailure";
    default:
        return nullptr;
    }
}

// The service's texts (statusString: a SEQUENCE OF UTF8String), each in quotes; the ones that
// cannot be read are left out.
std::string ServiceTexts(const CRYPT_DER_BLOB& field) {
    std::string texts;
    const TLocalFree<CRYPT_SEQUENCE_OF_ANY> strings = Decoded<CRYPT_SEQUENCE_OF_ANY>(X509_SEQUENCE_OF_ANY, field);
    for (DWORD i = 0; strings.Get() != nullptr && i < strings.Get()->cValue; ++i) {
        const TLocalFree<CERT_NAME_VALUE> text = Decoded<CERT_NAME_VALUE>(X509_UNICODE_ANY_STRING,
                                                                          strings.Get()->rgValue[i]);
        if (text.Get() != nullptr)
            texts += ", \"" +
                     WStringToString(std::wstring(reinterpret_cast<const wchar_t*>(text.Get()->Value.pbData),
                                                  text.Get()->Value.cbData / sizeof(wchar_t))) +
                     "\"";
    }
    return texts;
}

// The failure reasons (failInfo: a BIT STRING of PKIFailureInfo), by their names.
std::string FailureReasons(const CRYPT_DER_BLOB& field) {
    std::string reasons;
    const TLocalFree<CRYPT_BIT_BLOB> bits = Decoded<CRYPT_BIT_BLOB>(X509_BITS, field);
    if (bits.Get() == nullptr)
        return reasons;
    const DWORD all = bits.Get()->cbData * 8, count = all > bits.Get()->cUnusedBits ? all - bits.Get()->cUnusedBits : 0;
    for (DWORD bit = 0; bit < count; ++bit) {
        if ((bits.Get()->pbData[bit / 8] & (0x80 >> (bit % 8))) == 0)
            continue;
        const char* name = FailureName(bit);
        reasons += ", " + (name ? std::string(name) : "bit " + std::to_string(bit));
    }
    return reasons;
}

// The PKIStatusInfo's status; false when the field is no such structure.
bool ReadStatus(const CRYPT_DER_BLOB& field, int& status, std::string& details) {
    const TLocalFree<CRYPT_SEQUENCE_OF_ANY> info = Decoded<CRYPT_SEQUENCE_OF_ANY>(X509_SEQUENCE_OF_ANY, field);
    if (info.Get() == nullptr || info.Get()->cValue == 0)
        return false;
    DWORD size = sizeof status;
    const CRYPT_DER_BLOB& value = info.Get()->rgValue[0];
    if (!CryptDecodeObject(Encoding, X509_INTEGER, value.pbData, value.cbData, 0, &status, &size))
        return false;
    for (DWORD i = 1; i < info.Get()->cValue; ++i) {
        const CRYPT_DER_BLOB& optional = info.Get()->rgValue[i];
        if (optional.pbData[0] == SequenceTag)
            details += ServiceTexts(optional);
        else if (optional.pbData[0] == BitStringTag)
            details += FailureReasons(optional);
    }
    return true;
}

// Whether the bytes are a ContentInfo of signed data.
bool IsSignedData(const CRYPT_DER_BLOB& field) {
    const TLocalFree<CRYPT_CONTENT_INFO> info = Decoded<CRYPT_CONTENT_INFO>(PKCS_CONTENT_INFO, field);
    return info.Get() != nullptr && info.Get()->pszObjId != nullptr &&
           std::string(info.Get()->pszObjId) == szOID_RSA_signedData;
}
}  // namespace

TTimeStampAnswer ReadTimeStampAnswer(const std::string& answer, std::string& token, std::string* errorText) {
    // TimeStampResp ::= SEQUENCE { status PKIStatusInfo, timeStampToken ContentInfo OPTIONAL }
    const TLocalFree<CRYPT_SEQUENCE_OF_ANY> response = Decoded<CRYPT_SEQUENCE_OF_ANY>(
        X509_SEQUENCE_OF_ANY, reinterpret_cast<const BYTE*>(answer.data()), static_cast<DWORD>(answer.size()));
    int status = 0;
    std::string details;
    if (response.Get() == nullptr || !TakesAll(*response.Get(), answer.size()) || response.Get()->cValue == 0 ||
        response.Get()->cValue > 2 || !ReadStatus(response.Get()->rgValue[0], status, details)) {
        StoreErrorText(errorText, "Ответ службы штампов времени не является ответом RFC 3161 (" +
                                      std::to_string(answer.size()) + " байт).");
        return TTimeStampAnswer::Unreadable;
    }
    if (status != 0 && status != 1) {
        StoreErrorText(errorText, "Служба штампов времени отказала в штампе: статус " + std::to_string(status) + " (" +
                                      StatusName(status) + ")" + details + ".");
        return TTimeStampAnswer::Refused;
    }
    if (response.Get()->cValue < 2) {
        StoreErrorText(errorText, "В ответе службы нет штампа времени.");
        return TTimeStampAnswer::Unreadable;
    }
    const CRYPT_DER_BLOB& field = response.Get()->rgValue[1];
    if (!IsSignedData(field)) {
        StoreErrorText(errorText, "Штамп времени в ответе службы не является подписанными данными.");
        return TTimeStampAnswer::Unreadable;
    }
    token.assign(reinterpret_cast<const char*>(field.pbData), field.cbData);
    return TTimeStampAnswer::Granted;
}
