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

// "TSPCOM.TSPRequest": TSAAddress (put), Hash (putref), Export, Send (VT_BOOL), HTTPStatus.
// Without an address the policy's "DefaultTSPURL" (SOFTWARE\Policies\Crypto-Pro\TSP, the
// machine's before the user's) is the service.
class TTspRequestObject : public TAutomationObject {
public:
    TTspRequestObject();

protected:
    void Call(size_t member, VARIANT* arguments, VARIANT& result) override;

private:
    std::string Encoded() const;

    std::wstring address;
    std::string digest, algorithmOid, nonce;
    long status = 0;
};

// "TSPCOM.TSPStamp": Import (a TimeStampResp or a token), Export (the token), TSACertificate,
// VerifyStamp (0 when the token's signature holds for the certificate), Time (local).
class TTspStampObject : public TAutomationObject {
public:
    TTspStampObject();
    // Takes a TimeStampResp or a token; throws TMemberFailure when it is neither.
    void Take(const std::string& bytes);

protected:
    void Call(size_t member, VARIANT* arguments, VARIANT& result) override;

private:
    std::string token;
    SYSTEMTIME time{};
};

// "OCSPCOM.OCSPRequest": OCSPAddress (put), AddSingleRequest (a certificate object), Export,
// Send (VT_I4), HTTPStatus. Without an address the certificate's OCSP access point is the
// responder.
class TOcspRequestObject : public TAutomationObject {
public:
    TOcspRequestObject();

protected:
    void Call(size_t member, VARIANT* arguments, VARIANT& result) override;

private:
    std::string Encoded() const;
    std::wstring Responder() const;

    std::wstring address;
    TCertContext cert;
    std::string certId;
    long status = 0;
};

// "OCSPCOM.OCSPResponse": Import, Export, ProducedAt (local; empty for a response that is not
// successful, which has none).
class TOcspResponseObject : public TAutomationObject {
public:
    TOcspResponseObject();
    void Take(const std::string& bytes);

protected:
    void Call(size_t member, VARIANT* arguments, VARIANT& result) override;

private:
    std::string response;
};

// A client's Send: the request posted, its HTTP status into status and a new answer object into
// result: the object takes the body of a 200 answer (and throws, freeing itself, when the body
// is none of its kind); other answers leave it empty.
template <class TAnswerObject>
void SendRequest(VARIANT& result, long& status, const std::wstring& url, const wchar_t* contentType,
                 const std::string& body) {
    const THttpAnswer answer = PostRequest(url, contentType, body);
    status = static_cast<long>(answer.status);
    auto* object = new TAnswerObject();
    if (answer.status == 200) {
        try {
            object->Take(answer.body);
        } catch (...) {
            object->Release();
            throw;
        }
    }
    ResultObject(result, object);
}
