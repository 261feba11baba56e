// The six stand-in automation objects: the certificate and hashing objects of CAPICOM and the
// provider's time-stamp and OCSP client objects, with exactly the members their callers use.
#pragma once
#include "AutomationObject.h"
#include "CryptOwned.h"
#include "Transport.h"
#include <string>

// "CAPICOM.Certificate": Import (base64 of DER), Export (0: base64, lines of 64 characters).
class TCertificateObject : public TAutomationObject {
public:
    TCertificateObject();
    explicit TCertificateObject(PCCERT_CONTEXT cert);  // a copy of it
    // The certificate imported; throws TMemberFailure when there is none.
    PCCERT_CONTEXT Context() const;

protected:
    void Call(size_t member, VARIANT* arguments, VARIANT& result) override;

private:
    TCertContext context;
};

// "CAPICOM.HashedData": Algorithm (put; 0 SHA-1, 3 MD5, 4 SHA-256, 5 SHA-384, 6 SHA-512), hash
// (the bytes of a byte BSTR).
class THashedDataObject : public TAutomationObject {
public:
    THashedDataObject();
    // The digest and its algorithm's OID; throws TMemberFailure before "hash".
    const std::string& Digest() const;
    const char* AlgorithmOid() const;

protected:
    void Call(size_t member, VARIANT* arguments, VARIANT& result) override;

private:
    int algorithm = 0;
    bool hashed = false;
    std::string digest;
};

// What one client's answer object is: "TSPCOM.TSPStamp" (Import a TimeStampResp or a token,
// Export the token, TSACertificate, VerifyStamp: 0 when the token's signature holds for the
// certificate, Time in local time) and "OCSPCOM.OCSPResponse" (Import, Export, ProducedAt in
// local time, empty for a response that is not successful, which has none).
struct TServiceAnswerKind {
    const wchar_t* progId;
    std::vector<TMember> ownMembers;  // after Import and Export
    const wchar_t* notLoaded;         // the failure of Export and of its own members before an Import
    // What Export gives of an imported answer; throws TMemberFailure when the bytes are none of
    // its kind.
    std::string (*read)(const std::string& bytes);
    // Own member index, in their order, over what read kept.
    void (*callOwn)(size_t member, const std::string& kept, VARIANT* arguments, VARIANT& result);
};
extern const TServiceAnswerKind TspStamp, OcspResponse;

class TServiceAnswerObject : public TAutomationObject {
public:
    explicit TServiceAnswerObject(const TServiceAnswerKind& kind);
    // Takes the answer's bytes, or throws TMemberFailure with nothing changed.
    void Take(const std::string& bytes) { kept = kind.read(bytes); }

protected:
    void Call(size_t member, VARIANT* arguments, VARIANT& result) override;

private:
    const TServiceAnswerKind& kind;
    std::string kept;
};

// What one client's request object is: "TSPCOM.TSPRequest" (TSAAddress put, Hash putref of a
// hashing object, Export, Send with a VT_BOOL, HTTPStatus; without an address the policy's
// "DefaultTSPURL", SOFTWARE\Policies\Crypto-Pro\TSP, the machine's before the user's, is the
// service) and "OCSPCOM.OCSPRequest" (OCSPAddress put, AddSingleRequest of a certificate object,
// Export, Send with a VT_I4, HTTPStatus; without an address the certificate's OCSP access point is
// the responder).
struct TServiceRequestKind {
    const wchar_t* progId;
    const wchar_t* addressName;
    const wchar_t* subjectName;  // the member that says what the request is about: one dispatch object
    TMemberKind subjectKind;
    VARTYPE sendArgument;
    const wchar_t* contentType;
    const wchar_t* notGiven;  // the failure of Export and Send before the subject
    // The request's bytes for the subject (nonce: the object's own), and in responder where it
    // goes without an address; throws TMemberFailure for a subject of another kind.
    std::string (*encode)(IDispatch* subject, const std::string& nonce, std::wstring& responder);
    std::wstring (*service)();  // without an address: the service, or null for the responder
    const TServiceAnswerKind& answer;
};
extern const TServiceRequestKind TspRequest, OcspRequest;

// Send posts the request and hands out a new answer object: it takes the body of a 200 answer
// (and throws, freeing itself, when the body is none of its kind); other answers leave it empty.
class TServiceRequestObject : public TAutomationObject {
public:
    explicit TServiceRequestObject(const TServiceRequestKind& kind);

protected:
    void Call(size_t member, VARIANT* arguments, VARIANT& result) override;

private:
    const std::string& Encoded() const;
    std::wstring Destination() const;

    const TServiceRequestKind& kind;
    std::wstring address, responder;
    std::string nonce, encoded;
    long status = 0;
};
