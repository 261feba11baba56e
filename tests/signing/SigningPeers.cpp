#include "SigningPeers.h"
#include <sstream>
#include "TestTimes.h"

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

// The time that openssl printed after the label ("Jul 15 14:23:45 2026 GMT").
SYSTEMTIME PrintedTime(const std::string& output, const std::string& label) {
    const size_t at = output.find(label);
    if (at == std::string::npos)
        return SYSTEMTIME{};
    std::istringstream words(output.substr(at + label.size()));
    std::string month, zone;
    unsigned day = 0, hour = 0, minute = 0, second = 0, year = 0;
    char colon1 = 0, colon2 = 0;
    words >> month >> day >> hour >> colon1 >> minute >> colon2 >> second >> year >> zone;
    const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const size_t index = month.size() == 3 ? months.find(month) : std::string::npos;
    if (!words || zone != "GMT" || colon1 != ':' || colon2 != ':' || index == std::string::npos || index % 3 != 0)
        return SYSTEMTIME{};
    return SystemTimeOf(static_cast<WORD>(year), static_cast<WORD>(index / 3 + 1), static_cast<WORD>(day),
                        static_cast<WORD>(hour), static_cast<WORD>(minute), static_cast<WORD>(second));
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
                       "/tsa-expired-signer": {"openssl": "ts", "signer": "tsa-expired"},
                       "/tsa-notyet-signer": {"openssl": "ts", "signer": "tsa-notyet"},
                       "/tsa-expired-signer-2021": {"openssl": "ts", "signer": "tsa-expired", "time": "20210615142345Z"},
                       "/tsa-january": {"openssl": "ts", "time": "20260115093015Z"},
                       "/tsa-july": {"openssl": "ts", "time": "20260715142345Z"},
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

SYSTEMTIME OpensslStampTime(const std::string& token) {
    const TUnixJob job("ts-time");
    const std::string in = job.Put("token.der", token);
    return PrintedTime(job.Run("openssl ts -reply -token_in -token_out -text -in " + Quoted(in)).Output, "Time stamp: ");
}

SYSTEMTIME OpensslProducedAt(const std::string& response) {
    const TUnixJob job("ocsp-time");
    const std::string in = job.Put("response.der", response);
    return PrintedTime(job.Run("openssl ocsp -noverify -resp_text -respin " + Quoted(in)).Output, "Produced At: ");
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
