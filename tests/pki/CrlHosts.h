// The hosts of the CA test PKI's CRL distribution points (tools/sandbox-hosts), each played by a
// test peer on port 80 of its loopback address with the replies of one case, and the requests
// of all of them in the order they came.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "CaPki.h"
#include "TestPeer.h"

struct TCrlHost {
    const char* Name;
    const char* Address;
};
const TCrlHost CaSite{"pki-ca.vorsalt.test", "127.0.3.1"};  // the authority's own web site
const TCrlHost CrlA{"crl-a.vorsalt.test", "127.0.3.2"};
const TCrlHost CrlB{"crl-b.vorsalt.test", "127.0.3.3"};
const TCrlHost CrlC{"crl-c.vorsalt.test", "127.0.3.4"};

// Replies of the peer's script: the bytes of a file of the PKI, a text, a status alone, a file
// whose head or whose body comes seconds after the clients' time-out of 500 ms has run out.
// Each closes its connection.
std::string FileReply(const std::string& pkiFile);
std::string TextReply(const std::string& text);
std::string StatusReply(int status);
std::string LateReply(const std::string& pkiFile);
std::string TrickleReply(const std::string& pkiFile);

class TCrlHosts {
public:
    struct TServed {
        TCrlHost Host;
        std::string Script;  // JSON object: path -> reply
    };
    // Hosts that are not named have no server: a connection to them is refused.
    explicit TCrlHosts(const std::vector<TServed>& served);

    bool Started() const;
    // "host target" of every request that the peers logged, in the order they logged them.
    std::vector<std::string> Requests() const;

private:
    std::vector<std::unique_ptr<TTestPeer>> peers;
};
