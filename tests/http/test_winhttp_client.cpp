// TWinHTTP's session settings and response side against Wine's WinHTTP and the test peer:
// agent, time-outs, reconnection, UTF-16 bodies, captured headers, downloads and progress.
#include <gtest/gtest.h>
#include <string>
#include "TestFiles.h"
#include "class_http_winhttp.h"
#include "TempFiles.h"
#include "WineBehaviour.h"

namespace {
const char Script[] = R"({
  "/utf16.asp": {"headers": [["Content-Type", "text/plain; charset=UTF-16"], ["X-Count", "5"]],
                 "body_hex": "4f004b000d000a00"},
  "/file.asp": {"body": "downloaded bytes", "chunk_size": 5},
  "/late.asp": {"delay": 2, "body": "late", "close": true},
  "/trickle.asp": {"body": "abcdef", "chunk_size": 2, "chunk_delay": 2, "close": true},
  "/soon.asp": {"body": "soon"}
})";

TPeerOptions Options() {
    return PeerWith("winhttp-client", Script, "", "127.0.0.51");
}

void Changed(TProgressRange*) {}
}  // namespace

TEST(WinHttpClient, SessionSettingsAndReconnection) {
    TTestPeer peer(Options());
    ASSERT_TRUE(peer.Started());
    TWinHTTP client(false);
    EXPECT_FALSE(client.SetTimeouts(5000));  // no session yet
    client.SetAgentName("Check");
    ASSERT_EQ(client.Connect(peer.Host(), peer.Port()), 0);
    EXPECT_TRUE(client.SetTimeouts(5000));
    EXPECT_EQ(client.Connect(peer.Host(), peer.Port()), 0);  // same server and port: nothing reopened
    EXPECT_EQ(client.GetServer(), peer.Host());
    EXPECT_EQ(client.Reconnect(), 0);
    EXPECT_EQ(client.Request("/utf16.asp", VerbGet, nullptr, 0), 0) << client.GetLastErrorText();
    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Header("User-Agent"), "TWinHTTP_Check");
    EXPECT_EQ(client.Connect("", 0), 1);
    EXPECT_EQ(client.GetLastErrorText().rfind("TWinHTTP: Сервер для подключения не задан!", 0), 0u);
    EXPECT_EQ(client.GetServer(), peer.Host());  // a refused Connect changes nothing
}

// Set on the connected client, the time-outs end each later request: a head that does not come
// and a body that stops coming end with a result and a text; a prompt reply arrives.
TEST(WinHttpClient, TimeoutsEndASlowReplyWithAResultAndAText) {
    TTestPeer peer(Options());
    ASSERT_TRUE(peer.Started());
    struct Case {
        const char* path;
        int result;
        TExpected<std::string> text;  // start of the error text
        const char* body;
    } cases[] = {
        {"/late.asp", 7,
         ContractOr("TWinHTTP: Ошибка при отправке запроса.\r\nsent=1recived=0\r\nОшибка LE № 0x2ee2",
                    "TWinHTTP: Ошибка при отправке запроса.\r\nsent=1recived=0\r\nОшибка LE № 0x274c",
                    "a head that does not come in time ends with the socket's 10060, not 12002"),
         nullptr},
        {"/trickle.asp", 10,
         ContractOr("TWinHTTP: Ошибка получения информации после отправки запроса.\r\nОшибка LE № 0x2ee2",
                    "TWinHTTP: Ошибка получения информации после отправки запроса.\r\nОшибка LE № 0x274c",
                    "a body that stops coming ends with the socket's 10060, not 12002"),
         nullptr},
        {"/soon.asp", 0, "", "soon"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        TWinHTTP client(false);
        ASSERT_EQ(client.Connect(peer.Host(), peer.Port()), 0);
        ASSERT_TRUE(client.SetTimeouts(800));
        EXPECT_EQ(client.Request(c.path, VerbGet, nullptr, 0), c.result);
        const std::string text = client.GetLastErrorText();
        EXPECT_TRUE(StartsAs(text, c.text)) << text;
        if (c.body != nullptr) {
            EXPECT_TRUE(client.ResponseEquals(c.body));
        } else {
            EXPECT_EQ(client.GetResponse(false), nullptr);
        }
    }
}

TEST(WinHttpClient, Utf16BodyHeadersAndCapture) {
    TTestPeer peer(Options());
    ASSERT_TRUE(peer.Started());
    TWinHTTP client(false);
    EXPECT_EQ(client.GetCapturedHeader("X-Count"), "");
    ASSERT_EQ(client.Connect(peer.Host(), peer.Port()), 0);
    EXPECT_EQ(client.Request("/utf16.asp", VerbGet, nullptr, 0), 0);
    EXPECT_EQ(client.GetResponseSize(), 8);
    // Converted within the body's 8 bytes, though no NUL character ends it there.
    EXPECT_TRUE(client.ResponseStartsWith("OK\r\n", 4));
    EXPECT_FALSE(client.ResponseStartsWith("OK\r\nX", 5));
    EXPECT_EQ(client.GetCapturedHeader("X-Count"), "5");
    std::string value = "stale";
    EXPECT_EQ(client.GetHeaderByName("X-Absent", &value), 0);
    EXPECT_EQ(value, "");
    EXPECT_EQ(client.GetHeaderByName("Content-Type", &value), 0);
    EXPECT_EQ(value, "text/plain; charset=UTF-16");
    EXPECT_EQ(client.GetCapturedHeader(""), "");
    const void* detached = client.GetResponse(true);
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(client.GetResponse(false), nullptr);  // handed over
    LocalFree(const_cast<void*>(detached));
}

TEST(WinHttpClient, DownloadToAFileAndProgressReset) {
    TTestPeer peer(Options());
    ASSERT_TRUE(peer.Started());
    const std::string path = TempPath("winhttp-download-" + std::to_string(GetCurrentProcessId()) + ".bin");
    DeleteFileA(path.c_str());
    TProgressRange progress{7, 0, 10, Changed};
    {
        TWinHTTP client(false);
        client.SetProgress(&progress);
        ASSERT_EQ(client.Connect(peer.Host(), peer.Port()), 0);
        client.SetDownloadFile(path);
        EXPECT_EQ(client.Request("/file.asp", VerbGet, nullptr, 0), 0) << client.GetLastErrorText();
        EXPECT_EQ(client.GetResponseSize(), 16);
        EXPECT_FALSE(client.ResponseEquals("downloaded bytes"));  // the body went to the file
        // An existing file is not overwritten: nothing is sent.
        EXPECT_EQ(client.Request("/file.asp", VerbGet, nullptr, 0), 2);
        EXPECT_EQ(client.GetLastErrorText().rfind("TWinHTTP: CreateFile failed.", 0), 0u);
        EXPECT_EQ(peer.Requests().size(), 1u);
        EXPECT_EQ(progress.Position, 7);
    }
    EXPECT_EQ(progress.Position, 0);
    EXPECT_EQ(FileBytes(path), "downloaded bytes");
    DeleteFileA(path.c_str());
}
