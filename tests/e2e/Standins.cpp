#include "Standins.h"
#include "CaHosts.h"
#include "CertText.h"
#include "Endpoints.h"
#include "Owned.h"
#include "StandinFiles.h"
#include "Text.h"
#include <gtest/gtest.h>

namespace {

const char* const ServiceHosts[] = {VORSALT_SERVICE_HOST, VORSALT_TRAINING_HOST, VORSALT_ALTERNATIVE_HOST};
const char* const CaWebHosts[] = {VORSALT_CA_WEB_HOST, VORSALT_ALT_CA_WEB_HOST};

// Where the chain's certificates and CRLs go: the store and its folder of the registry.
struct TChainPart {
    const wchar_t* store;
    const wchar_t* folder;
    const char* file;
};
const TChainPart ChainParts[] = {
    {L"Root", L"Certificates", "root.der"}, {L"CA", L"Certificates", "sub.der"}, {L"CA", L"CRLs", "root.crl"}};

// The registry key of a part in a current user's store (named by the SHA-1 of its bytes): what
// another process reads. The parts are removed there rather than through crypt32, after whose
// removal from a system store the next store that this process opens finds its heap corrupt
// under Wine.
std::wstring ChainPartKey(const TChainPart& part) {
    const std::string der = CaPkiBytes(part.file);
    BYTE hash[20] = {};
    DWORD size = sizeof hash;
    CryptHashCertificate(0, CALG_SHA1, 0, reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size()),
                         hash, &size);
    return std::wstring(L"Software\\Microsoft\\SystemCertificates\\") + part.store + L"\\" + part.folder + L"\\" +
           vcl::ToWide(BytesToHex(hash, sizeof hash));
}

void ForgetCaChain() {
    for (const auto& part : ChainParts)
        RegDeleteKeyW(HKEY_CURRENT_USER, ChainPartKey(part).c_str());
}

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

std::string CaWebSite(const std::string& chainReply) {
    return CaSiteServing({"/aca/rootca3.p7b", "/certificates/ca-velta-test.p7b"}, chainReply);
}

std::string HealthyCaWebSite() {
    return CaWebSite(FileReply("chain.p7b"));
}

bool CaChainInstalled() {
    bool all = true;
    for (const auto& part : ChainParts) {
        TRegKey key;
        all = RegOpenKeyExW(HKEY_CURRENT_USER, ChainPartKey(part).c_str(), 0, KEY_READ, key.Receive()) == ERROR_SUCCESS &&
              all;
    }
    return all;
}

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
    if (!scripts.CaSite.empty())
        for (const char* host : CaWebHosts)
            caSites_.push_back(Start(std::string("ca-web-") + host, host, 80, scripts.CaSite, false));
    ForgetCaChain();
    RemoveZantholder();
    if (scripts.GatewayInstalled) {
        EXPECT_TRUE(PlaceZantholder());
    }
}

Standins::~Standins() {
    ForgetCaChain();
    RemoveZantholder();
}

std::vector<TPeerRequest> Standins::Https(const std::string& host) const {
    for (const auto& peer : peers_)
        if (peer->Host() == host && peer->Port() == 443)
            return peer->Requests();
    return {};
}

std::vector<TPeerRequest> Standins::CaWeb(const std::string& host) const {
    for (const auto& peer : caSites_)
        if (peer->Host() == host)
            return peer->Requests();
    return {};
}

std::vector<TPeerRequest> Standins::Gateway() const {
    return gateway_ ? gateway_->Requests() : std::vector<TPeerRequest>{};
}
