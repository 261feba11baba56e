// The test double of the message calls that Wine lacks (signing/SigningApi.h): reading a signer's
// signature value and adding an unsigned attribute, done on the message's DER (which the real
// CryptMsgGetParam gives as CMSG_ENCODED_MESSAGE); the encoded message read afterwards is the
// changed DER. Everything else goes to the real calls. One at a time in a process.
#pragma once
#include <windows.h>
#include <wincrypt.h>
#include <string>
#include "SigningApi.h"
#include "SeamOverride.h"

class TCmsOnDer {
public:
    TCmsOnDer();
    ~TCmsOnDer();
    TCmsOnDer(const TCmsOnDer&) = delete;
    TCmsOnDer& operator=(const TCmsOnDer&) = delete;

private:
    TSeamOverride<TSigningApi> seam;
};

// Forgets the messages the double changed, once they are closed (SignLow closes its own at its
// end): a message opened later may get the handle of one of them.
void ForgetChangedMessages();

// The signature value of signer index of a DER SignedData (ContentInfo), and the message with an
// encoded attribute appended to that signer's unsigned attributes; "" when the DER is no such
// message.
std::string SignatureValueOf(const std::string& message, size_t index);
std::string WithUnsignedAttribute(const std::string& message, size_t index, const std::string& attribute);
// The value of the first attribute under the OID anywhere in a DER message (its whole encoding);
// "" without one.
std::string AttributeValueOf(const std::string& message, const char* oid);

// CryptMsgGetParam whose CMSG_CONTENT_PARAM is garbage that no message takes; the rest is real.
BOOL WINAPI GarbledContentParam(HCRYPTMSG message, DWORD type, DWORD index, void* out, DWORD* size);
