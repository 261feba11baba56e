// The SSL, service and gateway checks over both HTTP back-ends, against stand-ins on loopback
// whose logs tell what each check sent.
#include "Endpoints.h"
#include "StandinFiles.h"
#include "TestPeer.h"
#include "Tests.h"
#include "class_http_wininet.h"
#include "class_http_winhttp.h"
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

const char Correlation[] = R"({\"CorrelationId\":\"0c1d\",\"Status\":\"OK\"})";
const std::string Unexpected = "Соединение установлено, но от сервера получен неожиданный ответ: ";
const std::string GatewayUnexpected = "Получен неожиданный ответ от ПО Зантхолдер: ";
const std::string FormType = "application/x-www-form-urlencoded";

// A reply of the peer's script: status and body.
std::string Reply(int status, const std::string& body) {
    return "{\"status\": " + std::to_string(status) + ", \"body\": \"" + body + "\"}";
}

std::unique_ptr<TTestPeer> ServicePeer(const std::string& host, const std::string& script,
                                       const std::string& tls = "server") {
    TPeerOptions options;
    options.Name = "service-" + host;
    options.Host = host;
    options.Port = 443;
    options.Tls = tls;
    options.Pki = VORSALT_STANDIN_PKI_DIR;
    options.Script = script;
    auto peer = std::make_unique<TTestPeer>(options);
    EXPECT_TRUE(peer->Started()) << host;
    return peer;
}

std::unique_ptr<TTestPeer> GatewayPeer(const std::string& reply) {
    TPeerOptions options;
    options.Name = "gateway";
    options.Port = 8088;
    options.Script = "{\"/\": " + reply + "}";
    auto peer = std::make_unique<TTestPeer>(options);
    EXPECT_TRUE(peer->Started());
    return peer;
}

struct Backend {
    const char* name;
    const char* prefix;  // of the client's error texts
    std::function<std::unique_ptr<TAllHTTP>()> make;
};

void PrintTo(const Backend& backend, std::ostream* os) {
    *os << backend.name;
}

class ServiceChecks : public testing::TestWithParam<Backend> {
protected:
    static void SetUpTestSuite() { TrustStandinCa(true); }
    static void TearDownTestSuite() { TrustStandinCa(false); }

    void ExpectClientText(const std::string& info) const { EXPECT_EQ(info.rfind(GetParam().prefix, 0), 0u) << info; }

    std::unique_ptr<TAllHTTP> client = GetParam().make();
    std::string info;
};

TEST_P(ServiceChecks, SslConnectionSendsGetOverTls) {
    auto peer = ServicePeer(VORSALT_SERVICE_HOST, "{\"//\": " + Reply(200, "<html></html>") + "}");
    EXPECT_EQ(CheckSSL(VORSALT_SERVICE_HOST, *client, info), 0);
    EXPECT_EQ(info, "");
    EXPECT_TRUE(client->IsSecure());
    const auto requests = peer->Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].RequestLine, "GET // HTTP/1.1");
    EXPECT_TRUE(requests[0].Tls);
    EXPECT_EQ(requests[0].Header("Content-Type"), FormType);
    EXPECT_EQ(requests[0].Header("Host"), VORSALT_SERVICE_HOST);
    EXPECT_EQ(requests[0].Body, "");
}

TEST_P(ServiceChecks, SslConnectionFailuresCarryTheClientsText) {
    {
        auto peer = ServicePeer(VORSALT_SERVICE_HOST, "{\"//\": " + Reply(404, "") + "}");
        EXPECT_EQ(CheckSSL(VORSALT_SERVICE_HOST, *client, info), 404);
        ExpectClientText(info);
    }
    {
        auto peer = ServicePeer(VORSALT_SERVICE_HOST, "{\"//\": " + Reply(503, "") + "}");
        info.clear();
        EXPECT_EQ(CheckSSL(VORSALT_SERVICE_HOST, *client, info), 503);
        ExpectClientText(info);
    }
    // Plain HTTP where TLS is expected: the handshake fails.
    auto plain = ServicePeer(VORSALT_SERVICE_HOST, "{\"//\": " + Reply(200, "") + "}", "");
    info.clear();
    const int r = CheckSSL(VORSALT_SERVICE_HOST, *client, info);
    EXPECT_NE(r, 0);
    EXPECT_NE(r, 100);
    ExpectClientText(info);
}

TEST_P(ServiceChecks, NothingListeningFailsTheSslCheck) {
    const int r = CheckSSL(VORSALT_ALTERNATIVE_HOST, *client, info);
    EXPECT_NE(r, 0);
    EXPECT_NE(r, 100);
    ExpectClientText(info);
}

TEST_P(ServiceChecks, AppServerReplies) {
    const struct {
        std::string reply;
        int result;
        std::string info;  // "*": the client's error text
    } cases[] = {
        {Reply(200, Correlation), 0, ""},
        {Reply(201, R"({\"CorrelationId\":\")"), 0, ""},
        {Reply(200, R"({\"CorrelationId\":)"), 100, Unexpected + R"({"CorrelationId":)"},
        {Reply(200, R"({\"correlationId\":\"0c1d\"})"), 100, Unexpected + R"({"correlationId":"0c1d"})"},
        {Reply(200, "Service Unavailable"), 100, Unexpected + "Service Unavailable"},
        {Reply(200, ""), 100, Unexpected},
        {Reply(500, "Internal error"), 500, "*"},
        {Reply(502, ""), 502, "*"},
        {Reply(404, ""), 404, "*"},
    };
    for (const auto& c : cases) {
        auto peer = ServicePeer(VORSALT_SERVICE_HOST, "{\"/lumweb/check\": " + c.reply + "}");
        info = "left from before";
        EXPECT_EQ(PingAppServer(VORSALT_SERVICE_HOST, *client, info), c.result) << c.reply;
        if (c.info == "*")
            ExpectClientText(info);
        else
            EXPECT_EQ(info, c.result == 0 ? "left from before" : c.info) << c.reply;
        const auto requests = peer->Requests();
        ASSERT_EQ(requests.size(), 1u) << c.reply;
        EXPECT_EQ(requests[0].RequestLine, "POST /lumweb/check HTTP/1.1");
        EXPECT_TRUE(requests[0].Tls);
        EXPECT_EQ(requests[0].Header("Content-Type"), FormType);
        EXPECT_EQ(requests[0].Body, "");
    }
}

TEST_P(ServiceChecks, OneClientServesSslServiceAndTrainingComplex) {
    const std::string script = "{\"//\": " + Reply(200, "") + ", \"/lumweb/check\": " + Reply(200, Correlation) + "}";
    auto service = ServicePeer(VORSALT_SERVICE_HOST, script);
    auto training = ServicePeer(VORSALT_TRAINING_HOST, script);
    EXPECT_EQ(CheckSSL(VORSALT_SERVICE_HOST, *client, info), 0);
    EXPECT_EQ(PingAppServer(VORSALT_SERVICE_HOST, *client, info), 0);
    EXPECT_EQ(PingAppServer(VORSALT_TRAINING_HOST, *client, info), 0);
    EXPECT_EQ(client->GetServer(), VORSALT_TRAINING_HOST);
    ASSERT_EQ(service->Requests().size(), 2u);
    EXPECT_EQ(service->Requests()[1].RequestLine, "POST /lumweb/check HTTP/1.1");
    ASSERT_EQ(training->Requests().size(), 1u);
    EXPECT_EQ(training->Requests()[0].Header("Host"), VORSALT_TRAINING_HOST);
}

TEST_P(ServiceChecks, GatewayPing) {
    const struct {
        std::string reply;
        int result;
        std::string info;  // "*": the client's error text
    } cases[] = {
        {Reply(200, "OK"), 0, ""},
        {Reply(200, "OK\\r\\nversion 2"), 0, ""},
        {Reply(200, "ok"), 4, GatewayUnexpected + "ok"},
        {Reply(200, "O"), 4, GatewayUnexpected + "O"},
        {Reply(200, ""), 4, GatewayUnexpected},
        {Reply(500, "OK"), 4, "*"},
        {Reply(403, ""), 4, "*"},
    };
    for (const auto& c : cases) {
        auto peer = GatewayPeer(c.reply);
        info.clear();
        EXPECT_EQ(PingZantholder(*client, info), c.result) << c.reply;
        if (c.info == "*")
            ExpectClientText(info);
        else
            EXPECT_EQ(info, c.info) << c.reply;
        const auto requests = peer->Requests();
        ASSERT_EQ(requests.size(), 1u) << c.reply;
        EXPECT_EQ(requests[0].RequestLine, "POST / HTTP/1.1");
        EXPECT_FALSE(requests[0].Tls);
        EXPECT_EQ(requests[0].Header("X-Operation"), "ping");
        EXPECT_FALSE(requests[0].HasHeader("Content-Type"));
        EXPECT_EQ(requests[0].Header("Host"), "127.0.0.1:8088");
        EXPECT_EQ(requests[0].Body, "");
    }
}

TEST_P(ServiceChecks, GatewayPingLeavesDefaultHeaders) {
    auto peer = GatewayPeer(Reply(200, "OK"));
    EXPECT_EQ(PingZantholder(*client, info), 0);
    EXPECT_EQ(client->SendForm("", nullptr, VerbNone), 0);
    const auto requests = peer->Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].Header("Content-Type"), FormType);
    EXPECT_FALSE(requests[1].HasHeader("X-Operation"));
}

TEST_P(ServiceChecks, NoGatewayFailsThePing) {
    EXPECT_EQ(PingZantholder(*client, info), 4);
    ExpectClientText(info);
}

INSTANTIATE_TEST_SUITE_P(
    Backends, ServiceChecks,
    testing::Values(Backend{"WinInet", "THTTP: ", [] { return std::unique_ptr<TAllHTTP>(new THTTP(false, 0)); }},
                    Backend{"WinHTTP", "TWinHTTP: ", [] { return std::unique_ptr<TAllHTTP>(new TWinHTTP(false, 0)); }}),
    [](const testing::TestParamInfo<Backend>& p) { return std::string(p.param.name); });

class GatewayExecutable : public testing::Test {
protected:
    void TearDown() override { RemoveZantholder(); }
};

TEST_F(GatewayExecutable, LookedForInProgramFilesX86) {
    RemoveZantholder();
    EXPECT_FALSE(IsZantholderInstalled());
    ASSERT_TRUE(PlaceZantholder());
    EXPECT_TRUE(IsZantholderInstalled());
    {
        // Held by another program without sharing, the file is still there.
        HANDLE held = CreateFileW(ZantholderPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_TRUE(IsZantholderInstalled());
        CloseHandle(held);
    }
    RemoveZantholder();
    EXPECT_FALSE(IsZantholderInstalled());
    // A folder of that name is no executable.
    ASSERT_TRUE(CreateDirectoryW(ZantholderPath().c_str(), nullptr));
    EXPECT_FALSE(IsZantholderInstalled());
}

}  // namespace
