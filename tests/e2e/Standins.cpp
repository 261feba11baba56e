#include "Standins.h"
#include "Endpoints.h"
#include "StandinFiles.h"
#include <gtest/gtest.h>

namespace {

const char* const ServiceHosts[] = {VORSALT_SERVICE_HOST, VORSALT_TRAINING_HOST, VORSALT_ALTERNATIVE_HOST};

std::unique_ptr<TTestPeer> Start(const std::string& name, const std::string& host, int port, const std::string& script,
                                 bool tls) {
    TPeerOptions options;
    options.Name = name;
    options.Host = host;
    options.Port = port;
    options.Script = script;
    if (tls) {
        options.Tls = "server";
        options.Pki = VORSALT_STANDIN_PKI_DIR;
    }
    auto peer = std::make_unique<TTestPeer>(options);
    EXPECT_TRUE(peer->Started()) << name;
    return peer;
}

}  // namespace

std::string Reply(int status, const std::string& body) {
    return "{\"status\": " + std::to_string(status) + ", \"body\": \"" + body + "\"}";
}

Standins::Standins(const StandinScripts& scripts) {
    if (!scripts.Service.empty()) {
        for (const char* host : ServiceHosts) {
            peers_.push_back(Start(std::string("http-") + host, host, 80, scripts.Service, false));
            peers_.push_back(Start(std::string("https-") + host, host, 443, scripts.Service, true));
        }
    }
    if (!scripts.GatewayReply.empty())
        gateway_ = Start("gateway", "127.0.0.1", 8088, "{\"/\": " + scripts.GatewayReply + "}", false);
    RemoveZantholder();
    if (scripts.GatewayInstalled) {
        EXPECT_TRUE(PlaceZantholder());
    }
}

Standins::~Standins() {
    RemoveZantholder();
}

std::vector<TPeerRequest> Standins::Https(const std::string& host) const {
    for (const auto& peer : peers_)
        if (peer->Host() == host && peer->Port() == 443)
            return peer->Requests();
    return {};
}

std::vector<TPeerRequest> Standins::Gateway() const {
    return gateway_ ? gateway_->Requests() : std::vector<TPeerRequest>{};
}
