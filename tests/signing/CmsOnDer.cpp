#include "CmsOnDer.h"
#include <map>
#include <vector>
#include "Der.h"

namespace {

std::map<HCRYPTMSG, std::string> Messages;  // the DER of each message the double changed

// The elements of a content, each as its whole encoding.
std::vector<std::string> Elements(const std::string& content) {
    std::vector<std::string> elements;
    der::TReader reader(content);
    unsigned char tag = 0;
    std::string inner;
    while (reader.Next(tag, inner))
        elements.push_back(der::Element(tag, inner));
    return elements;
}

std::string Content(const std::string& element) {
    der::TReader reader(element);
    unsigned char tag = 0;
    std::string content;
    return reader.Next(tag, content) ? content : std::string();
}

unsigned char Tag(const std::string& element) {
    return element.empty() ? 0 : static_cast<unsigned char>(element[0]);
}

// The parts of a ContentInfo of SignedData down to its signer infos; false when it is none.
struct TSignedParts {
    std::string contentType;
    std::vector<std::string> fields;  // of SignedData; the last is the SET of SignerInfo
    std::vector<std::string> signers;
};

bool Split(const std::string& message, TSignedParts& parts) {
    std::string info;
    if (!der::Whole(message, der::Sequence, info))
        return false;
    const std::vector<std::string> outer = Elements(info);
    if (outer.size() != 2 || Tag(outer[1]) != der::ContextZero)
        return false;
    parts.contentType = outer[0];
    std::string signedData;
    if (!der::Whole(Content(outer[1]), der::Sequence, signedData))
        return false;
    parts.fields = Elements(signedData);
    if (parts.fields.empty() || Tag(parts.fields.back()) != 0x31)
        return false;
    parts.signers = Elements(Content(parts.fields.back()));
    return true;
}

std::string Join(const std::vector<std::string>& elements) {
    std::string joined;
    for (const std::string& element : elements)
        joined += element;
    return joined;
}

std::string Encoded(const TSignedParts& parts) {
    std::vector<std::string> fields = parts.fields;
    fields.back() = der::Element(0x31, Join(parts.signers));
    return der::Element(der::Sequence,
                        parts.contentType + der::Element(der::ContextZero, der::Element(der::Sequence, Join(fields))));
}

std::string DerOf(HCRYPTMSG message) {
    const auto known = Messages.find(message);
    if (known != Messages.end())
        return known->second;
    DWORD size = 0;
    const TSigningApi& real = RealCalls<TSigningApi>();
    if (!real.CryptMsgGetParam(message, CMSG_ENCODED_MESSAGE, 0, nullptr, &size))
        return std::string();
    std::string bytes(size, '\0');
    if (!real.CryptMsgGetParam(message, CMSG_ENCODED_MESSAGE, 0, &bytes[0], &size))
        return std::string();
    bytes.resize(size);
    return bytes;
}

BOOL Answer(const std::string& bytes, void* out, DWORD* size) {
    if (bytes.empty()) {
        SetLastError(static_cast<DWORD>(CRYPT_E_INVALID_MSG_TYPE));
        return FALSE;
    }
    if (out != nullptr && *size < bytes.size()) {
        *size = static_cast<DWORD>(bytes.size());
        SetLastError(ERROR_MORE_DATA);
        return FALSE;
    }
    if (out != nullptr)
        memcpy(out, bytes.data(), bytes.size());
    *size = static_cast<DWORD>(bytes.size());
    return TRUE;
}

BOOL WINAPI GetParamOnDer(HCRYPTMSG message, DWORD type, DWORD index, void* out, DWORD* size) {
    if (type == CMSG_ENCRYPTED_DIGEST)
        return Answer(SignatureValueOf(DerOf(message), index), out, size);
    if (type == CMSG_ENCODED_MESSAGE && Messages.count(message) != 0)
        return Answer(Messages[message], out, size);
    return RealCalls<TSigningApi>().CryptMsgGetParam(message, type, index, out, size);
}

BOOL WINAPI ControlOnDer(HCRYPTMSG message, DWORD flags, DWORD type, const void* para) {
    if (type != CMSG_CTRL_ADD_SIGNER_UNAUTH_ATTR)
        return RealCalls<TSigningApi>().CryptMsgControl(message, flags, type, para);
    const auto* add = static_cast<const CMSG_CTRL_ADD_SIGNER_UNAUTH_ATTR_PARA*>(para);
    const std::string changed = WithUnsignedAttribute(DerOf(message), add->dwSignerIndex,
                                                      std::string(reinterpret_cast<const char*>(add->blob.pbData),
                                                                  add->blob.cbData));
    if (changed.empty()) {
        SetLastError(static_cast<DWORD>(CRYPT_E_INVALID_INDEX));
        return FALSE;
    }
    Messages[message] = changed;
    return TRUE;
}

}  // namespace

std::string SignatureValueOf(const std::string& message, size_t index) {
    TSignedParts parts;
    if (!Split(message, parts) || index >= parts.signers.size())
        return std::string();
    for (const std::string& field : Elements(Content(parts.signers[index])))
        if (Tag(field) == der::OctetString)
            return Content(field);
    return std::string();
}

std::string WithUnsignedAttribute(const std::string& message, size_t index, const std::string& attribute) {
    TSignedParts parts;
    if (!Split(message, parts) || index >= parts.signers.size())
        return std::string();
    std::vector<std::string> fields = Elements(Content(parts.signers[index]));
    if (fields.empty())
        return std::string();
    if (Tag(fields.back()) == 0xA1)  // unsignedAttrs [1] IMPLICIT SET OF Attribute
        fields.back() = der::Element(0xA1, Content(fields.back()) + attribute);
    else
        fields.push_back(der::Element(0xA1, attribute));
    parts.signers[index] = der::Element(der::Sequence, Join(fields));
    return Encoded(parts);
}

std::string AttributeValueOf(const std::string& message, const char* oid) {
    const std::string id = der::ObjectIdentifier(oid);
    const size_t at = message.find(id + "\x31");
    if (at == std::string::npos)
        return std::string();
    der::TReader reader(message.substr(at + id.size()));
    unsigned char tag = 0;
    std::string set, value;
    if (!reader.Next(tag, set))
        return std::string();
    der::TReader values(set);
    return values.Next(tag, value) ? der::Element(tag, value) : std::string();
}

void ForgetChangedMessages() {
    Messages.clear();
}

TCmsOnDer::TCmsOnDer() {
    Messages.clear();
    seam->CryptMsgGetParam = GetParamOnDer;
    seam->CryptMsgControl = ControlOnDer;
}

TCmsOnDer::~TCmsOnDer() {
    Messages.clear();
}

BOOL WINAPI GarbledContentParam(HCRYPTMSG message, DWORD type, DWORD index, void* out, DWORD* size) {
    if (type != CMSG_CONTENT_PARAM)
        return RealCalls<TSigningApi>().CryptMsgGetParam(message, type, index, out, size);
    if (out != nullptr)
        memcpy(out, "\x04\x02garbage", *size < 9 ? *size : 9);
    *size = 9;
    return TRUE;
}
