#include "SigningPeers.h"

namespace {
TPeerOptions PeerOptions(const char* name, const char* host, const char* script) {
    TPeerOptions options;
    options.Name = name;
    options.Host = host;
    options.Port = 80;
    options.Pki = VORSALT_CA_PKI_DIR;
    options.Script = script;
    return options;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}
}  // namespace

std::string CaPkiUnixPath(const std::string& name) {
    return std::string(VORSALT_CA_PKI_DIR) + "/" + name;
}

TSigningPeer::TSigningPeer(const char* name, const char* host, const char* script)
    : peer(PeerOptions(name, host, script)) {}

std::vector<TPeerRequest> TSigningPeer::RequestsAfter(size_t count) const {
    const std::vector<TPeerRequest> all = peer.Requests();
    return std::vector<TPeerRequest>(all.begin() + static_cast<long>(count), all.end());
}

TTimeStampService::TTimeStampService()
    : TSigningPeer("tsa", Host,
                   R"({"/tsa": {"openssl": "ts", "headers": [["Content-Type", "application/timestamp-reply"]]},
                       "/tsa-corrupt": {"openssl": "ts", "corrupt": true},
                       "/tsa-granted-with-mods": {"openssl": "ts", "replace_hex": ["3003020100", "3003020101"]},
                       "/tsa-rejection": {"body_hex": "30373035020102302c0c2a4d6573736167652064696765737420616c676f726974686d206973206e6f7420737570706f727465642e03020780"},
                       "/tsa-waiting": {"body_hex": "30053003020103"},
                       "/tsa-revoked": {"body_hex": "3040303e02010530320c30d0a1d0b5d180d182d0b8d184d0b8d0bad0b0d18220d181d0bbd183d0b6d0b1d18b20d0bed182d0bed0b7d0b2d0b0d0bd03050600000040"},
                       "/tsa-no-token": {"body_hex": "30053003020100"},
                       "/tsa-not-signed-data": {"body_hex": "30123003020100300b06092a864886f70d010703"},
                       "/tsa-cut-short": {"body_hex": "308205ac3003020100308205a306092a864886f70d010702"},
                       "/tsa-bytes-after": {"body_hex": "30053003020102ff"},
                       "/tsa-text": {"body": "<html>Service unavailable</html>"},
                       "/tsa-empty": {"body": ""}})") {}

TOcspResponder::TOcspResponder()
    : TSigningPeer("ocsp", Host,
                   R"({"/ocsp": {"openssl": "ocsp", "headers": [["Content-Type", "application/ocsp-response"]]},
                       "/ocsp-500": {"status": 500},
                       "/ocsp-unauthorized": {"body_hex": "30030a0106"}})") {}

TUnixRun OpensslVerifyStamp(const std::string& stamp, bool token, const std::string& data) {
    const TUnixJob job("ts-verify");
    const std::string in = job.Put("stamp.der", stamp), dataFile = job.Put("data.bin", data);
    return job.Run("openssl ts -verify -data " + Quoted(dataFile) + " -in " + Quoted(in) + (token ? " -token_in" : "") +
                   " -CAfile " + Quoted(CaPkiUnixPath("root.crt")) + " -untrusted " + Quoted(CaPkiUnixPath("sub.crt")));
}

TUnixRun OpensslVerifyOcsp(const std::string& response, const std::string& certName) {
    const TUnixJob job("ocsp-verify");
    const std::string in = job.Put("response.der", response);
    return job.Run("cat " + Quoted(CaPkiUnixPath("root.crt")) + " " + Quoted(CaPkiUnixPath("sub.crt")) +
                   " > chain.pem && openssl ocsp -respin " + Quoted(in) + " -issuer " +
                   Quoted(CaPkiUnixPath("sub.crt")) + " -cert " + Quoted(CaPkiUnixPath(certName + ".crt")) +
                   " -CAfile chain.pem -no_nonce");
}

TUnixRun OpensslVerifyCms(const std::string& message, bool detached, const std::string& data) {
    const TUnixJob job("cms-verify");
    const std::string in = job.Put("message.der", message), dataFile = job.Put("data.bin", data);
    return job.Run("cat " + Quoted(CaPkiUnixPath("root.crt")) + " " + Quoted(CaPkiUnixPath("sub.crt")) +
                   " > chain.pem && openssl cms -verify -binary -inform DER -in " + Quoted(in) +
                   (detached ? " -content " + Quoted(dataFile) : std::string()) +
                   " -CAfile chain.pem -purpose any -out content.bin && cmp content.bin " + Quoted(dataFile) +
                   " && echo same content");
}

TUnixRun OpensslPrintCms(const std::string& message) {
    const TUnixJob job("cms-print");
    return job.Run("openssl cms -cmsout -print -inform DER -in " + Quoted(job.Put("message.der", message)));
}
