// The stand-ins of an end-to-end run: the three service hosts (HTTP on 80, HTTPS on 443 with one
// script for both), the signing gateway on 127.0.0.1:8088 and its executable in the prefix.
#pragma once
#include "TestPeer.h"
#include <memory>
#include <string>
#include <vector>

struct StandinScripts {
    std::string Service;       // the peer script of every service host; "": none listens
    std::string GatewayReply;  // the reply to the ping; "": no gateway listens
    bool GatewayInstalled = true;
};

class Standins {
public:
    explicit Standins(const StandinScripts& scripts);
    ~Standins();
    Standins(const Standins&) = delete;
    Standins& operator=(const Standins&) = delete;

    // The HTTPS requests of one host, and the gateway's requests.
    std::vector<TPeerRequest> Https(const std::string& host) const;
    std::vector<TPeerRequest> Gateway() const;

private:
    std::vector<std::unique_ptr<TTestPeer>> peers_;
    std::unique_ptr<TTestPeer> gateway_;
};

// The reply of a peer script: status and body (a JSON string's content).
std::string Reply(int status, const std::string& body);
