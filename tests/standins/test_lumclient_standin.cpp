// The stand-in LUMCLIENT.DLL over HTTPS: what it sends to the service host's stand-in (the peer's
// log of the requests) and what it makes of each reply.
#include "LumClient.h"
#include "ScriptedStandin.h"
#include "TestPeer.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

const std::string TimeStampBody = "kind=4;data=31323334353637383930\r\nkind=2;data=\r\n";
const std::string Identifier120(120, '4');

std::string Reply(int status, const std::string& body) {
    return "{\"status\": " + std::to_string(status) + ", \"body\": \"" + body + "\"}";
}

std::string HexReply(int status, const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return "{\"status\": " + std::to_string(status) + ", \"body_hex\": \"" + hex + "\"}";
}

std::string Error() {
    const char* text = GetError();
    return text ? text : "<null>";
}

class LumClientStandin : public testing::Test {
protected:
    // A service host's stand-in with a certificate of the test CA, which the library does not judge.
    void Serve(const std::string& script) {
        TPeerOptions options;
        options.Name = "lumclient";
        options.Script = script;
        options.Tls = "server";
        peer = std::make_unique<TTestPeer>(options);
        ASSERT_TRUE(peer->Started());
        host = "127.0.0.1:" + std::to_string(peer->Port());
        SetLumIp(host.c_str());
    }
    int32_t TimeStamp() {
        static const char datum[] = "1234567890";
        const _ENCHANCE_ITEM items[2] = {{16, 4, datum, 10}, {16, 2, nullptr, 0}};
        return Enchance(items, 2);
    }

    TScriptedStandin lum{"VORSALT_LUM", "VORSALT_LUM_JOURNAL"};
    std::unique_ptr<TTestPeer> peer;
    std::string host;
};

// A request record as the program makes it.
struct Request {
    Request() {
        record.size = 20;
        record.second = 1;
        record.buffer = buffer;
        record.bufferSize = sizeof buffer;
    }
    std::string Identifier() const { return std::string(buffer, strnlen(buffer, sizeof buffer)); }
    _AUTH_REQUEST record{};
    char buffer[100] = {};
};

TEST_F(LumClientStandin, EnchancePostsEveryItem) {
    Serve("{\"/lumclient/enchance\": [" + Reply(200, "OK 2") + ", " + Reply(500, "down") + ", " + Reply(200, "NO") +
          "]}");
    EXPECT_EQ(TimeStamp(), 0);
    EXPECT_EQ(Error(), "<null>");
    EXPECT_EQ(TimeStamp(), 4);
    EXPECT_EQ(Error(), "LUMCLIENT: сервер ЯСК " + host + " ответил 500: down");
    EXPECT_EQ(TimeStamp(), 5);
    EXPECT_EQ(Error(), "LUMCLIENT: неожиданный ответ сервера ЯСК " + host + ": NO");

    const auto requests = peer->Requests();
    ASSERT_EQ(requests.size(), 3u);
    for (const TPeerRequest& r : requests) {
        EXPECT_EQ(r.RequestLine, "POST /lumclient/enchance HTTP/1.1");
        EXPECT_TRUE(r.Tls);
        EXPECT_EQ(r.Header("Content-Type"), "text/plain");
        EXPECT_EQ(r.Body, TimeStampBody);
    }
}

TEST_F(LumClientStandin, AuthentificateWritesKindAndIdentifier) {
    struct Case {
        std::string reply;
        int32_t result;
        int32_t kind;
        std::string identifier, error;
    } const cases[] = {
        {Reply(200, "kind=1;id=112-233-445 95"), 0, 1, "112-233-445 95", "<null>"},
        {Reply(200, "kind=0;id="), 0, 0, "", "<null>"},
        // Longer than the buffer: its 100 bytes, no NUL.
        {Reply(200, "kind=7;id=" + Identifier120), 0, 7, Identifier120.substr(0, 100), "<null>"},
        {Reply(401, ""), LumNotAuthenticated, -1, "", "<null>"},
        {HexReply(401, u8"Нет учетной записи"), LumNotAuthenticated, -1, "", "Нет учетной записи"},
        {Reply(403, "forbidden"), 4, -1, "", "LUMCLIENT: сервер ЯСК @ ответил 403: forbidden"},
        {Reply(200, "kind=x;id=1"), 5, -1, "", "LUMCLIENT: неожиданный ответ сервера ЯСК @: kind=x;id=1"},
        {Reply(200, "id=1"), 5, -1, "", "LUMCLIENT: неожиданный ответ сервера ЯСК @: id=1"},
    };
    std::string replies;
    for (const Case& c : cases)
        replies += (replies.empty() ? "" : ", ") + c.reply;
    Serve("{\"/lumclient/authentificate\": [" + replies + "]}");
    for (const Case& c : cases) {
        Request request;
        request.record.kind = -1;
        EXPECT_EQ(Authentificate(1, &request.record), c.result) << c.reply;
        EXPECT_EQ(request.record.kind, c.kind) << c.reply;
        EXPECT_EQ(request.Identifier(), c.identifier) << c.reply;
        std::string error = c.error;
        if (error.find('@') != std::string::npos)
            error.replace(error.find('@'), 1, host);
        EXPECT_EQ(Error(), error) << c.reply;
    }
    const auto requests = peer->Requests();
    ASSERT_EQ(requests.size(), std::size(cases));
    EXPECT_EQ(requests[0].RequestLine, "POST /lumclient/authentificate HTTP/1.1");
    EXPECT_EQ(requests[0].Body, "mode=1;second=1");
}

TEST_F(LumClientStandin, NoServiceNoHost) {
    SetLumIp("127.0.0.1:1");  // nothing listens there
    EXPECT_EQ(TimeStamp(), 3);
    EXPECT_EQ(Error(), "LUMCLIENT: нет связи с сервером ЯСК 127.0.0.1:1 (ошибка 12029)");
    Request request;
    EXPECT_EQ(Authentificate(1, &request.record), 3);

    SetLumIp(nullptr);
    EXPECT_EQ(TimeStamp(), 2);
    EXPECT_EQ(Error(), "LUMCLIENT: не задан адрес сервера ЯСК (SetLumIp)");
}

TEST_F(LumClientStandin, BadArgumentsAreRefusedAndJournaled) {
    lum.Script("enchance=0;authentificate=0");  // the arguments are judged before any script
    const _ENCHANCE_ITEM shortItem = {12, 4, "1", 1}, negative = {16, 4, "1", -1}, noData = {16, 4, nullptr, 3};
    EXPECT_EQ(Enchance(nullptr, 2), 1);
    EXPECT_EQ(Error(), "LUMCLIENT: Enchance: неверный список элементов");
    EXPECT_EQ(Enchance(&shortItem, 0), 1);
    for (const _ENCHANCE_ITEM* item : {&shortItem, &negative, &noData}) {
        EXPECT_EQ(Enchance(item, 1), 1);
        EXPECT_EQ(Error(), "LUMCLIENT: Enchance: неверный элемент 0");
    }
    Request wrongSize;
    wrongSize.record.size = 24;
    EXPECT_EQ(Authentificate(1, nullptr), 1);
    EXPECT_EQ(Authentificate(1, &wrongSize.record), 1);
    EXPECT_EQ(Error(), "LUMCLIENT: Authentificate: неверная запись запроса");
    EXPECT_EQ(lum.Journal(),
              "Enchance 2 null;GetError;Enchance 0;Enchance 1 {12 4 1 ?};GetError;Enchance 1 {16 4 -1 ?};GetError;"
              "Enchance 1 {16 4 3 ?};GetError;Authentificate 1 null;Authentificate 1 {24 1 0 " +
                  std::to_string(reinterpret_cast<uintptr_t>(wrongSize.buffer)) + " zeroed 100};GetError;");
}

TEST_F(LumClientStandin, ScriptedAnswersAskNoService) {
    Serve("{}");
    lum.Script("enchance=0;authentificate=80000003|Токен не найден;kind=1;id=12");
    EXPECT_EQ(TimeStamp(), 0);
    Request request;
    EXPECT_EQ(Authentificate(1, &request.record), static_cast<int32_t>(0x80000003));
    EXPECT_EQ(Error(), "Токен не найден");
    EXPECT_EQ(request.record.kind, 1);
    EXPECT_EQ(request.Identifier(), "12");
    EXPECT_TRUE(peer->Requests().empty());
}

}  // namespace
