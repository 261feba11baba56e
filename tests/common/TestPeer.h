// The HTTP test peer (peer.py) run from a test under Wine: started on a free port of a
// loopback address, stopped when the object ends; its log tells what went on the wire.
#pragma once
#include <string>
#include <vector>
#include "PeerLog.h"

struct TPeerOptions {
    std::string Name = "peer";  // names the peer's files; unique within one test process
    std::string Host = "127.0.0.1";
    int Port = 0;        // 0: a free port
    std::string Script;  // JSON text of the replies, see peer.py
    std::string Tls;     // "", "server", "selfsigned", "wrongname", "expired", "clientauth"
    std::string Pki;     // Unix folder of the certificates; "": the test PKI
    bool Proxy = false;
    std::string ProxyAuth;  // "user:password" demanded with 407
};

// Bytes as a script gives them (body_hex, raw_hex): two lower-case hexadecimal digits a byte.
std::string PeerHex(const std::string& bytes);

// The options of a peer at the host that answers with the script; tls as TPeerOptions::Tls.
TPeerOptions PeerWith(const std::string& name, const std::string& script, const std::string& tls = "",
                      const std::string& host = "127.0.0.1");

class TTestPeer {
public:
    explicit TTestPeer(const TPeerOptions& options);
    ~TTestPeer();
    TTestPeer(const TTestPeer&) = delete;
    TTestPeer& operator=(const TTestPeer&) = delete;

    bool Started() const { return port != 0; }
    int Port() const { return port; }
    const std::string& Host() const { return host; }

    // Every logged event, and the requests among them, in the order the peer logged them.
    std::vector<TPeerEvent> Events() const;
    std::vector<TPeerRequest> Requests() const;

private:
    std::string host;
    std::string folder;  // Windows path of the peer's files
    int port = 0;
};

// Windows path of a file of the test PKI (ca.der, client.pfx, ...); the PFX password is "vorsalt".
std::string TestPkiFile(const std::string& name);
