// The signing service's peers on loopback, made from openssl (peer.py's "openssl" replies over
// the CA test PKI), both on port 80 of addresses of their own (lock "signing_peers"): the
// time-stamp service at 127.0.4.2 (a posted request's address keeps no port of its own), the OCSP
// responder at 127.0.4.1, the address that the signers' certificates name; and openssl judging
// what came back.
#pragma once
#include <windows.h>
#include <string>
#include "TestPeer.h"
#include "UnixJob.h"

// A peer of the signing service on port 80 of its own address, answering over the CA test PKI.
class TSigningPeer {
public:
    bool Started() const { return peer.Started(); }
    std::vector<TPeerRequest> Requests() const { return peer.Requests(); }
    // The requests after the first count of them (a size of Requests() taken before).
    std::vector<TPeerRequest> RequestsAfter(size_t count) const;

protected:
    TSigningPeer(const char* name, const char* host, const char* script);

private:
    TTestPeer peer;
};

// Paths: /tsa answers with openssl's TimeStampResp, /tsa-corrupt with one whose signature is
// broken, /tsa-granted-with-mods with openssl's answer under status 1 (grantedWithMods).
// Answers without a stamp: /tsa-rejection (openssl's own refusal of an imprint whose algorithm
// it does not take: status 2, its text, badAlg), /tsa-waiting (status 3 alone), /tsa-revoked
// (status 5, a Russian text, systemFailure); answers that are no TimeStampResp with a token:
// /tsa-no-token (granted, no token), /tsa-not-signed-data (a ContentInfo of enveloped data),
// /tsa-cut-short (DER that ends inside the token), /tsa-bytes-after (a byte after the answer),
// /tsa-text (an HTML page), /tsa-empty (no body). Signed by a certificate not valid now:
// /tsa-expired-signer (tsa-expired, valid in 2021 only), /tsa-notyet-signer (tsa-notyet, valid
// from 2040), and /tsa-expired-signer-2021 (tsa-expired, its token dated 2021-06-15 14:23:45 UTC).
// Tokens of a set time: /tsa-january (2026-01-15 09:30:15 UTC), /tsa-july (2026-07-15 14:23:45
// UTC). Anything else 404.
class TTimeStampService : public TSigningPeer {
public:
    static constexpr const char* Host = "127.0.4.2";
    TTimeStampService();
    static std::string Url(const std::string& path = "/tsa") { return std::string("http://") + Host + path; }
};

// Paths: /ocsp answers as the responder of the PKI, /ocsp-500 with status 500,
// /ocsp-unauthorized with a response without data (status "unauthorized").
class TOcspResponder : public TSigningPeer {
public:
    static constexpr const char* Host = "127.0.4.1";
    TOcspResponder();
    static std::string Url(const std::string& path = "/ocsp") { return std::string("http://") + Host + path; }
};

// "openssl ts -verify" of a TimeStampResp (token false) or a token over the data, trusting the
// PKI's root.
TUnixRun OpensslVerifyStamp(const std::string& stamp, bool token, const std::string& data);
// "openssl ocsp -respin" of a response for the PKI certificate name (issued by sub).
TUnixRun OpensslVerifyOcsp(const std::string& response, const std::string& certName);

// The instant that openssl reads in a time-stamp token (its time) or in an OCSP response (its
// production time), in UTC; all zero when it reads none.
SYSTEMTIME OpensslStampTime(const std::string& token);
SYSTEMTIME OpensslProducedAt(const std::string& response);

// "openssl cms -verify" of a DER message, with the data given apart for a detached one (detached
// true); the output holds the content that openssl verified.
TUnixRun OpensslVerifyCms(const std::string& message, bool detached, const std::string& data);
// "openssl cms -cmsout -print" of a DER message.
TUnixRun OpensslPrintCms(const std::string& message);

// The Unix path of a file of the CA test PKI.
std::string CaPkiUnixPath(const std::string& name);
