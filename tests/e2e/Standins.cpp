#include "Standins.h"
#include "CaHosts.h"
#include "Endpoints.h"
#include "StandinFiles.h"
#include <gtest/gtest.h>

namespace {

const char* const ServiceHosts[] = {VORSALT_SERVICE_HOST, VORSALT_TRAINING_HOST, VORSALT_ALTERNATIVE_HOST};
const char* const CaWebHosts[] = {VORSALT_CA_WEB_HOST, VORSALT_ALT_CA_WEB_HOST};

// Where the chain's certificates and CRLs go.
const struct {
    const wchar_t* store;
    const char* name;
    bool crl;
} ChainParts[] = {{L"Root", "root", false}, {L"CA", "sub", false}, {L"CA", "root", true}};

// Finds the part in the current user's store; removes it too when asked. Whether it was there.
bool FindChainPart(const wchar_t* storeName, const std::string& name, bool crl, bool remove) {
    TCertStore store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, storeName));
    if (!store)
        return false;
    const std::string der = CaPkiBytes(name + (crl ? ".crl" : ".der"));
    const auto* bytes = reinterpret_cast<const BYTE*>(der.data());
    bool found = false;
    if (crl) {
        TCrlContext wanted(CertCreateCRLContext(X509_ASN_ENCODING, bytes, static_cast<DWORD>(der.size())));
        PCCRL_CONTEXT held =
            wanted ? CertFindCRLInStore(store.Get(), X509_ASN_ENCODING, 0, CRL_FIND_EXISTING, wanted.Get(), nullptr)
                   : nullptr;
        found = held != nullptr;
        if (held != nullptr)
            remove ? CertDeleteCRLFromStore(held) : CertFreeCRLContext(held);
    } else {
        TCertContext wanted(CertCreateCertificateContext(X509_ASN_ENCODING, bytes, static_cast<DWORD>(der.size())));
        PCCERT_CONTEXT held = wanted ? CertFindCertificateInStore(store.Get(), X509_ASN_ENCODING, 0,
                                                                  CERT_FIND_EXISTING, wanted.Get(), nullptr)
                                     : nullptr;
        found = held != nullptr;
        if (held != nullptr)
            remove ? CertDeleteCertificateFromStore(held) : CertFreeCertificateContext(held);
    }
    CertControlStore(store.Get(), 0, CERT_STORE_CTRL_COMMIT, nullptr);
    return found;
}

void ForgetCaChain() {
    for (const auto& part : ChainParts)
        FindChainPart(part.store, part.name, part.crl, true);
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
    for (const auto& part : ChainParts)
        all = FindChainPart(part.store, part.name, part.crl, false) && all;
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
