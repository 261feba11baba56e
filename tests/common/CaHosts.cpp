#include "CaHosts.h"
#include <algorithm>

std::string Serving(const std::vector<std::pair<std::string, std::string>>& replies) {
    std::string script;
    for (const auto& [path, reply] : replies)
        script += (script.empty() ? "{\"" : ", \"") + path + "\": " + reply;
    return script + "}";
}

std::string CaSiteServing(const std::vector<std::string>& chainPaths, const std::string& chainReply) {
    std::vector<std::pair<std::string, std::string>> replies = {{"/cdp/root3.crl", FileReply("root.crl")},
                                                                {"/cdp/sub3.crl", FileReply("sub.crl")}};
    for (const std::string& path : chainPaths)
        replies.push_back({path, chainReply});
    return Serving(replies);
}

std::string FileReply(const std::string& pkiFile) {
    return R"({"body_hex": ")" + PeerHex(CaPkiBytes(pkiFile)) + R"(", "close": true})";
}

std::string TextReply(const std::string& text) {
    return R"({"body_hex": ")" + PeerHex(text) + R"(", "close": true})";
}

std::string StatusReply(int status) {
    return R"({"status": )" + std::to_string(status) + R"(, "body": "no CRL here", "close": true})";
}

std::string LateReply(const std::string& pkiFile) {
    return R"({"delay": 2, "body_hex": ")" + PeerHex(CaPkiBytes(pkiFile)) + R"(", "close": true})";
}

std::string TrickleReply(const std::string& pkiFile) {
    return R"({"chunk_size": 200, "chunk_delay": 1.5, "body_hex": ")" + PeerHex(CaPkiBytes(pkiFile)) +
           R"(", "close": true})";
}

TCaHosts::TCaHosts(const std::vector<TServed>& served) {
    for (const TServed& s : served) {
        TPeerOptions options = PeerWith(s.Host.Name, s.Script, "", s.Host.Address);
        options.Port = 80;
        peers.push_back(std::make_unique<TTestPeer>(options));
    }
}

bool TCaHosts::Started() const {
    return std::all_of(peers.begin(), peers.end(), [](const auto& peer) { return peer->Started(); });
}

std::vector<std::string> TCaHosts::Requests() const {
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
