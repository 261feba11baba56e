// TWinHTTP against the real WinHTTP of Wine and the test peer: what goes on the wire byte for
// byte, and the result, text and body each reply gives, raw answers with broken heads included.
#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include "TempFiles.h"
#include "TestPeer.h"
#include "WireHeads.h"
#include "WireScenarios.h"
#include "class_http_winhttp.h"
#include "WineBehaviour.h"

namespace {
const char Script[] = R"({
  "/post.asp": {"status": 201, "body": "done"},
  "/form.asp": {"body": "ok"},
  "/exact.asp": {"body_hex": "__EXACT__"},
  "/utf16.asp": {"headers": [["Content-Type", "text/plain; charset=UTF-16"]], "body": "OK\r\n", "encoding": "utf-16-le"},
  "/get.asp": {"headers": [["X-Count", "5"]], "body": "hello"},
  "/forbidden.asp": {"status": 403, "headers": [["Content-Type", "text/html"]], "body": "&#207;&#240;&#232;"}
})";

std::string ExactScript() {
    std::string script = Script;
    const std::string hex(10240 * 2, '6');  // 10240 bytes 'f'
    script.replace(script.find("__EXACT__"), 9, hex);
    return script;
}

struct TWireCase {
    const char* Name;
    std::function<int(TWinHTTP&)> Send;
    int Result;
    std::string RequestLine;  // "" when nothing may reach the peer
    std::string Headers;      // the client's own header lines
    std::string Body;
    std::string ErrorStart;  // the held error text starts so ("" : empty)
    bool ErrorExact;         // the held text is ErrorStart whole
    std::string Response;    // the body held afterwards
};

std::string HeldText(TWinHTTP& client) {
    const std::string text = client.GetLastErrorText();
    return text.substr(0, text.find(" (" + client.GetServer() + ":"));
}

class WinHttpWire : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TPeerOptions options;
        options.Name = "winhttp-wire";
        options.Host = "127.0.0.21";
        options.Script = ExactScript();
        peer = std::make_unique<TTestPeer>(options);
    }
    static void TearDownTestSuite() { peer.reset(); }
    static inline std::unique_ptr<TTestPeer> peer;
};
}  // namespace

TEST_F(WinHttpWire, RequestsRepliesAndTexts) {
    ASSERT_TRUE(peer->Started());
    const std::string form = "Content-Type: application/x-www-form-urlencoded";
    const std::string pi = "\xCF\xF0\xE8";  // П р и in cp1251
    std::map<std::string, std::string> fields{{"b", "x y"}, {"a", "1"}};
    const std::string binary("\x00\xFF\r\n", 4);
    const TWireCase cases[] = {
        {"get", [](TWinHTTP& c) { return c.Request("/get.asp", VerbGet, nullptr, 0); }, 0, "GET /get.asp HTTP/1.1",
         form, "", "", true, "hello"},
        {"post with binary body", [&](TWinHTTP& c) { return c.Request("/post.asp?x=1", VerbPost, binary.data(), 4); },
         0, "POST /post.asp?x=1 HTTP/1.1", form, binary, "", true, "done"},
        {"put", [](TWinHTTP& c) { return c.Request("/form.asp", VerbPut, "p", 1); }, 0, "PUT /form.asp HTTP/1.1", form,
         "p", "", true, "ok"},
        {"form fields in key order, nothing escaped",
         [&](TWinHTTP& c) { return c.SendForm("/form.asp", &fields, VerbNone); }, 0, "POST /form.asp HTTP/1.1", form,
         "a=1&b=x y", "", true, "ok"},
        {"form without fields", [](TWinHTTP& c) { return c.SendForm("/form.asp", nullptr, VerbNone); }, 0,
         "POST /form.asp HTTP/1.1", form, "", "", true, "ok"},
        {"verb 0 is refused before sending", [](TWinHTTP& c) { return c.Request("/get.asp", VerbNone, nullptr, 0); }, 1,
         "", "", "", "TWinHTTP: Не задан метод отправки запроса.", false, "ok"},
        {"verb outside the table", [](TWinHTTP& c) { return c.Request("/get.asp", 7, nullptr, 0); }, 1, "", "", "",
         "TWinHTTP: Не задан метод отправки запроса.", false, "ok"},
        {"null data with a length", [](TWinHTTP& c) { return c.Request("/form.asp", VerbPost, nullptr, 5); }, 7, "", "",
         "", "TWinHTTP: Ошибка при отправке запроса.\r\nsent=0recived=0", false, "ok"},
        {"404", [](TWinHTTP& c) { return c.Request("/missing.asp", VerbGet, nullptr, 0); }, 404,
         "GET /missing.asp HTTP/1.1", form, "", "TWinHTTP: Не найден путь на сервере 127.0.0.21\r\nОшибка: ", true,
         "ok"},
        {"body of exactly one read chunk", [](TWinHTTP& c) { return c.Request("/exact.asp", VerbGet, nullptr, 0); }, 0,
         "GET /exact.asp HTTP/1.1", form, "", "", true, std::string(10240, 'f')},
        {"403 with numeric references", [](TWinHTTP& c) { return c.Request("/forbidden.asp", VerbGet, nullptr, 0); },
         403, "GET /forbidden.asp HTTP/1.1", form, "",
         "TWinHTTP: Ошибка Возвращен неверный код возврата HTTP: 403: resp: " + pi, true, "&#207;&#240;&#232;"},
        {"upload of null data", [](TWinHTTP& c) { return c.UploadData("/form.asp", nullptr, 3); }, 1, "", "", "",
         "TWinHTTP: Не удается подготовить данные для отправки.", false, "&#207;&#240;&#232;"},
        {"upload of a missing file", [](TWinHTTP& c) { return c.UploadFile("/form.asp", "C:\\no\\such.bin"); }, 1, "",
         "", "", "TWinHTTP: Не удается прочитать файл C:\\no\\such.bin", false, "&#207;&#240;&#232;"},
        {"upload of data", [](TWinHTTP& c) { return c.UploadData("/form.asp", "abc", 3); }, 0,
         "POST /form.asp HTTP/1.1", WireMultipartHeader, WireMultipartBody("bin", "abc"), "", true, "ok"},
        {"custom headers",
         [](TWinHTTP& c) {
             c.SetHeaders("Content-Type: text/xml\r\nX-A: 1");
             return c.Request("/form.asp", VerbPost, "<a/>", 4);
         },
         0, "POST /form.asp HTTP/1.1", "Content-Type: text/xml\r\nX-A: 1", "<a/>", "", true, "ok"},
    };
    TWinHTTP client(false);
    ASSERT_EQ(client.Connect(peer->Host(), peer->Port()), 0) << client.GetLastErrorText();
    size_t seen = 0;
    for (const TWireCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Send(client), c.Result);
        const std::string held = HeldText(client);
        if (c.ErrorExact)
            EXPECT_EQ(held, c.ErrorStart);
        else
            EXPECT_EQ(held.substr(0, c.ErrorStart.size()), c.ErrorStart) << held;
        int size = -1;
        const char* response = static_cast<const char*>(client.GetResponseWithSize(&size));
        EXPECT_EQ(std::string(response ? response : "", response ? size : 0), c.Response);
        const auto requests = peer->Requests();
        if (c.RequestLine.empty()) {
            EXPECT_EQ(requests.size(), seen);
            continue;
        }
        ASSERT_EQ(requests.size(), seen + 1);
        const TPeerRequest& request = requests[seen++];
        EXPECT_EQ(request.RequestLine, c.RequestLine);
        const size_t space = c.RequestLine.find(' ');
        const std::string method = c.RequestLine.substr(0, space);
        const std::string path = c.RequestLine.substr(space + 1, c.RequestLine.rfind(' ') - space - 1);
        EXPECT_MEETS(request.Head,
                     ExpectedHead(THttpStack::WinHttp, method, path, HostAndPort(peer->Host(), peer->Port()),
                                  "TWinHTTP", c.Headers, c.Body));
        EXPECT_EQ(request.Body, c.Body);
        EXPECT_EQ(client.GetStatusCode(), c.Result != 0 ? c.Result : c.Response == "done" ? 201 : 200);
    }
}

// The file name of an upload is the path after its last backslash, or the whole path without one.
TEST_F(WinHttpWire, UploadNamesTheFileByItsPath) {
    ASSERT_TRUE(peer->Started());
    const std::string content("p7s\0\xFF\r\n", 7);
    const TTempFile file(TempPath("upload.p7s"), content);
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    ASSERT_TRUE(SetCurrentDirectoryA(TempPath("").c_str()));
    const struct {
        const char* what;
        std::string path;
    } cases[] = {{"full path", file.Path()}, {"bare name", "upload.p7s"}};
    TWinHTTP client(false);
    ASSERT_EQ(client.Connect(peer->Host(), peer->Port()), 0) << client.GetLastErrorText();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const size_t seen = peer->Requests().size();
        EXPECT_EQ(client.UploadFile("/form.asp", c.path.c_str()), 0) << client.GetLastErrorText();
        const auto requests = peer->Requests();
        ASSERT_EQ(requests.size(), seen + 1);
        EXPECT_EQ(requests.back().Body, WireMultipartBody("upload.p7s", content));
    }
    SetCurrentDirectoryA(folder);
}

namespace {
const char WineRedirect[] = "WinHTTP follows a 302 and fails the receive when the reply names no Location";

// The TWinHTTP error text of each shared scenario that fails: its beginning. A 302 without a
// Location is an answer like any other status that is not a success.
const std::map<std::string, TExpected<std::string>> ScenarioTexts = {
    {"Redirect",
     ContractOr("TWinHTTP: Ошибка Возвращен неверный код возврата HTTP: 302",
                "TWinHTTP: Ошибка при отправке запроса.\r\nsent=1recived=0\r\nОшибка LE № 0x2f76", WineRedirect)},
    {"NotFound", "TWinHTTP: Не найден путь на сервере 127.0.0.22\r\nОшибка:  (127.0.0.22:missing) so: "},
    {"TooLarge", "TWinHTTP: Размер данных переданный серверу слишком велик: 1\r\nКод возврата HTTP: 413"},
    {"ServerError", "TWinHTTP: Ошибка Возвращен неверный код возврата HTTP: 500: resp: Сбой (127.0.0.22:fail) so: "},
    {"Conflict", "TWinHTTP: Ошибка Возвращен неверный код возврата HTTP: 409"},
};
}  // namespace

TEST(WinHttpWireScenarios, EachGivesItsStatusResultAndText) {
    std::string script;
    for (const TWireScenario& scenario : WireScenarios) {
        const std::string one = PeerScript(scenario);
        script += (script.empty() ? "{" : ", ") + one.substr(1, one.size() - 2);
    }
    TPeerOptions options;
    options.Name = "winhttp-scenarios";
    options.Host = "127.0.0.22";
    options.Script = script + "}";
    TTestPeer peer(options);
    ASSERT_TRUE(peer.Started());
    TWinHTTP client(false);
    ASSERT_EQ(client.Connect(peer.Host(), peer.Port()), 0);
    size_t seen = 0;
    for (const TWireScenario& scenario : WireScenarios) {
        SCOPED_TRACE(scenario.Name);
        const std::string body = scenario.Body;
        const bool redirect = std::string(scenario.Name) == "Redirect";
        EXPECT_MEETS(client.Request(scenario.Path, scenario.Verb, body.data(), static_cast<int>(body.size())),
                     redirect ? ContractOr(scenario.Result, 7, WineRedirect) : TExpected<int>(scenario.Result));
        EXPECT_MEETS(client.GetStatusCode(),
                     redirect ? ContractOr(scenario.Status, 0, WineRedirect) : TExpected<int>(scenario.Status));
        const std::string text = client.GetLastErrorText();
        if (scenario.ResponseBody != nullptr) {
            EXPECT_TRUE(client.ResponseEquals(scenario.ResponseBody));
            EXPECT_EQ(client.GetResponseSize(), static_cast<int>(std::string(scenario.ResponseBody).size()));
            EXPECT_EQ(text.rfind(" (127.0.0.22:", 0), 0u) << text;
        } else {
            EXPECT_TRUE(StartsAs(text, ScenarioTexts.at(scenario.Name)));
        }
        const auto requests = peer.Requests();
        ASSERT_EQ(requests.size(), seen + 1);
        const TPeerRequest& request = requests[seen++];
        EXPECT_MEETS(request.Head, ExpectedHead(THttpStack::WinHttp, scenario.Verb == VerbPost ? "POST" : "GET",
                                                scenario.Path, HostAndPort(peer.Host(), peer.Port()), "TWinHTTP",
                                                "Content-Type: application/x-www-form-urlencoded", body));
        EXPECT_EQ(request.Body, body);
    }
}

namespace {
// The start of TWinHTTP's text after a raw answer of the status with the result.
std::string RawAnswerText(int result, int status) {
    switch (result) {
    case 0:
        return " (127.0.0.23:raw";
    case 7:
        return "TWinHTTP: Ошибка при отправке запроса.\r\nsent=1recived=0\r\nОшибка LE № 0x2f78: ";
    case 8:
        return "TWinHTTP: Ошибка WINHTTP_QUERY_STATUS_CODE.\r\nОшибка LE № 0x2f78: ";
    default:
        return "TWinHTTP: Ошибка Возвращен неверный код возврата HTTP: " + std::to_string(status);
    }
}
}  // namespace

TEST(WinHttpRawAnswers, OnlyAReadStatusOf200Or201IsASuccess) {
    TTestPeer peer(PeerWith("winhttp-raw", RawAnswersScript(), "", "127.0.0.23"));
    ASSERT_TRUE(peer.Started());
    TWinHTTP client(false);
    ASSERT_EQ(client.Connect(peer.Host(), peer.Port()), 0);
    CheckRawAnswers(client, peer, &TRawAnswer::WinHttp, RawAnswerText);
}
