// The hosts of the certification authority: its web sites and the CA test PKI's CRL distribution
// points (tools/sandbox-hosts), each played by a test peer on port 80 of its loopback address with
// the replies of one case, and the requests of all of them in the order they came.
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "CaPki.h"
#include "TestPeer.h"

struct TCaHost {
    const char* Name;
    const char* Address;
};
const TCaHost CaSite{"pki-ca.vorsalt.test", "127.0.3.1"};  // the authority's own web site
const TCaHost CrlA{"crl-a.vorsalt.test", "127.0.3.2"};
const TCaHost CrlB{"crl-b.vorsalt.test", "127.0.3.3"};
const TCaHost CrlC{"crl-c.vorsalt.test", "127.0.3.4"};

// A peer's script: each path with its reply.
std::string Serving(const std::vector<std::pair<std::string, std::string>>& replies);
inline std::string Serving(const std::string& path, const std::string& reply) {
    return Serving({{path, reply}});
}
// The script of the authority's web site: the reply at each of the chain's paths (with their
// leading "/"), and the CRLs of the root and of the intermediate at their points' paths.
std::string CaSiteServing(const std::vector<std::string>& chainPaths, const std::string& chainReply);

// Replies of the peer's script: the bytes of a file of the PKI, a text, a status alone, a file
// whose head or whose body comes seconds after the clients' time-out of 500 ms has run out.
// Each closes its connection.
std::string FileReply(const std::string& pkiFile);
std::string TextReply(const std::string& text);
std::string StatusReply(int status);
std::string LateReply(const std::string& pkiFile);
std::string TrickleReply(const std::string& pkiFile);

class TCaHosts {
public:
    struct TServed {
        TCaHost Host;
        std::string Script;  // JSON object: path -> reply
    };
    // Hosts that are not named have no server: a connection to them is refused.
    explicit TCaHosts(const std::vector<TServed>& served);

    bool Started() const;
    // "host target" of every request that the peers logged, in the order they logged them.
    std::vector<std::string> Requests() const;

private:
    std::vector<std::unique_ptr<TTestPeer>> peers;
};
