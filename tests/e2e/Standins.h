// The stand-ins of an end-to-end run: the three service hosts (HTTP on 80, HTTPS on 443 with one
// script for both), the CA's two web hosts (HTTP on 80; the first is the CA test PKI's own site,
// where the CRLs of its chain are too), the signing gateway on 127.0.0.1:8088 and its executable
// in the prefix. The chain that a run installs is taken out of the current user's stores before
// and after.
#pragma once
#include "TestPeer.h"
#include <memory>
#include <string>
#include <vector>

// The script of both CA web hosts: the reply at either chain path, and the chain's CRLs.
std::string CaWebSite(const std::string& chainReply);
// The CA test PKI's chain: "chain.p7b" as the sites serve it.
std::string HealthyCaWebSite();

struct StandinScripts {
    std::string Service;       // the peer script of every service host; "": none listens
    std::string GatewayReply;  // the reply to the ping; "": no gateway listens
    bool GatewayInstalled = true;
    std::string CaSite = HealthyCaWebSite();  // the CA web hosts' script; "": none listens
};

// Whether the chain stands in the current user's stores as another process reads them (their
// registry keys): the root "ЦС_3" in "Root", the intermediate and the root's CRL in "CA".
bool CaChainInstalled();

class Standins {
public:
    explicit Standins(const StandinScripts& scripts);
    ~Standins();
    Standins(const Standins&) = delete;
    Standins& operator=(const Standins&) = delete;

    // The HTTPS requests of one host, the requests of one CA web host, and the gateway's requests.
    std::vector<TPeerRequest> Https(const std::string& host) const;
    std::vector<TPeerRequest> CaWeb(const std::string& host) const;
    std::vector<TPeerRequest> Gateway() const;

private:
    std::vector<std::unique_ptr<TTestPeer>> peers_;
    std::unique_ptr<TTestPeer> gateway_;
    std::vector<std::unique_ptr<TTestPeer>> caSites_;
};

// The reply of a peer script: status and body (a JSON string's content).
std::string Reply(int status, const std::string& body);
