#include "CrlHosts.h"
#include <algorithm>

namespace {
std::string Hex(const std::string& bytes) {
    static const char Digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += Digits[c >> 4];
        hex += Digits[c & 0x0F];
    }
    return hex;
}
}  // namespace

std::string FileReply(const std::string& pkiFile) {
    return R"({"body_hex": ")" + Hex(CaPkiBytes(pkiFile)) + R"(", "close": true})";
}

std::string TextReply(const std::string& text) {
    return R"({"body_hex": ")" + Hex(text) + R"(", "close": true})";
}

std::string StatusReply(int status) {
    return R"({"status": )" + std::to_string(status) + R"(, "body": "no CRL here", "close": true})";
}

std::string LateReply(const std::string& pkiFile) {
    return R"({"delay": 2, "body_hex": ")" + Hex(CaPkiBytes(pkiFile)) + R"(", "close": true})";
}

std::string TrickleReply(const std::string& pkiFile) {
    return R"({"chunk_size": 200, "chunk_delay": 1.5, "body_hex": ")" + Hex(CaPkiBytes(pkiFile)) +
           R"(", "close": true})";
}

TCrlHosts::TCrlHosts(const std::vector<TServed>& served) {
    for (const TServed& s : served) {
        TPeerOptions options;
        options.Name = s.Host.Name;
        options.Host = s.Host.Address;
        options.Port = 80;
        options.Script = s.Script;
        peers.push_back(std::make_unique<TTestPeer>(options));
    }
}

bool TCrlHosts::Started() const {
    return std::all_of(peers.begin(), peers.end(), [](const auto& peer) { return peer->Started(); });
}

std::vector<std::string> TCrlHosts::Requests() const {
    std::vector<TPeerRequest> all;
    for (const auto& peer : peers)
        for (const TPeerRequest& request : peer->Requests())
            all.push_back(request);
    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.Time < b.Time; });
    std::vector<std::string> lines;
    for (const TPeerRequest& request : all)
        lines.push_back(request.Header("Host") + " " + request.Method + " " + request.Target);
    return lines;
}
