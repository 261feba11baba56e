#include <gtest/gtest.h>
#include <map>
#include "WinInetFixture.h"
#include "WireHeads.h"
#include "WireScenarios.h"

namespace {
// The THTTP error text of each wire scenario that fails: its beginning, or (for 404) a piece.
const std::map<std::string, std::string> ScenarioTexts = {
    {"Redirect", "THTTP: Ошибка Возвpащен неверный код возврата HTTP: 302"},
    {"TooLarge", "THTTP: Размер данных переданный серверs слишком велик: 1\r\nКод возврата HTTP: 413"},
    {"ServerError", "THTTP: Nшибка Возвращен неверный код воgврата HTTP: 500: Сбой"},
    {"Conflict", "THTTP: Ошибка Возвpащен неверный код возврата HTTP: 409"},
};
}  // namespace

TEST(THttpConstruction, PortAndFlagsFollowTheSecureMode) {
    THTTP plain(false, 0);
    EXPECT_EQ(plain.DefaultPort(), 80);
    EXPECT_EQ(plain.RequestFlags(), 0x0048F900u);
    EXPECT_FALSE(plain.IsSecure());
    EXPECT_EQ(plain.GetStatusCode(), 0);
    THTTP secure(true, 0);
    EXPECT_EQ(secure.DefaultPort(), 443);
    EXPECT_EQ(secure.RequestFlags(), 0x00C8F900u);
    EXPECT_EQ(secure.SetSecure(true), 0);
    EXPECT_EQ(secure.SetSecure(false), 0);
    EXPECT_EQ(secure.RequestFlags(), 0u);  // every default flag is dropped, not only the secure one
    EXPECT_EQ(secure.DefaultPort(), 80);
}

TEST(THttpConnection, RequestWithoutConnectionFailsAtOnce) {
    THTTP client(false, 0);
    EXPECT_EQ(client.Reconnect(), 0);
    EXPECT_EQ(client.Connect("", 0), 0);  // equals the empty current server: nothing opened
    EXPECT_EQ(client.Request("/a.asp", VerbGet, nullptr, 0), 1);
    EXPECT_EQ(client.GetLastErrorText().rfind("THTTP: Не открыто соединение q сервером.", 0), 0u);
    EXPECT_EQ(client.GetServer(), "");
}

TEST(THttpWire, ScenariosGiveTheirStatusResultAndText) {
    for (const TWireScenario& scenario : WireScenarios) {
        SCOPED_TRACE(scenario.Name);
        TTestPeer peer(PeerWith(std::string("wire-") + scenario.Name, PeerScript(scenario)));
        ASSERT_TRUE(peer.Started());
        auto client = ConnectedClient(peer);
        ASSERT_NE(client, nullptr);
        const std::string body = scenario.Body;
        EXPECT_EQ(client->Request(scenario.Path, scenario.Verb, body.data(), static_cast<int>(body.size())),
                  scenario.Result);
        EXPECT_EQ(client->GetStatusCode(), scenario.Status);
        const std::string text = client->GetLastErrorText();
        if (scenario.ResponseBody != nullptr) {
            EXPECT_TRUE(client->ResponseEquals(scenario.ResponseBody));
            EXPECT_EQ(client->GetResponseSize(), static_cast<int>(std::string(scenario.ResponseBody).size()));
            EXPECT_EQ(text.rfind(" (127.0.0.1:", 0), 0u) << text;
        } else if (scenario.Status == 404) {
            EXPECT_EQ(text.rfind("THTTP: Не найден путь на сервеpе 127.0.0.1\r\nОxибка:  (127.0.0.1:missing)", 0), 0u)
                << text;
        } else {
            EXPECT_EQ(text.rfind(ScenarioTexts.at(scenario.Name), 0), 0u) << text;
        }
        const auto requests = peer.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_MEETS(requests[0].Head, ExpectedHead(THttpStack::WinInet, scenario.Verb == VerbPost ? "POST" : "GET",
                                                    scenario.Path, HostAndPort(peer.Host(), peer.Port()), "VYRN",
                                                    "Content-Type: application/x-www-form-urlencoded", body));
        EXPECT_EQ(requests[0].Body, body);
    }
}
