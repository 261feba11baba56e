// What THTTP puts on the wire for forms and uploads, judged by the peer's log.
#include <gtest/gtest.h>
#include <windows.h>
#include <map>
#include "MultipartBody.h"
#include "WinInetFixture.h"
#include "WireHeads.h"
#include "TempFiles.h"

namespace {
const char Script[] = R"({"/post.asp": {"status": 200, "body": "OK"}})";
const char Form[] = "Content-Type: application/x-www-form-urlencoded";

TExpected<std::string> ExpectedHeadOf(const TTestPeer& peer, const char* method, const std::string& agent,
                                      const std::string& headers, const std::string& body) {
    return ExpectedHead(THttpStack::WinInet, method, "/post.asp", HostAndPort(peer.Host(), peer.Port()), agent, headers,
                        body);
}

}  // namespace

TEST(THttpBodies, FormsGoOutUnescapedInKeyOrder) {
    TTestPeer peer(PeerWith("forms", Script));
    ASSERT_TRUE(peer.Started());
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    std::map<std::string, std::string> fields = {{"b", "x y"}, {"a", "1"}};
    EXPECT_EQ(client->SendForm("/post.asp", &fields, VerbNone), 0);
    EXPECT_EQ(client->SendForm("/post.asp", nullptr, VerbNone), 0);
    EXPECT_EQ(client->SendForm("/post.asp", &fields, VerbGet), 0);
    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_MEETS(requests[0].Head, ExpectedHeadOf(peer, "POST", "VYRN", Form, "a=1&b=x y"));
    EXPECT_EQ(requests[0].Body, "a=1&b=x y");
    EXPECT_MEETS(requests[1].Head, ExpectedHeadOf(peer, "POST", "VYRN", Form, ""));
    EXPECT_EQ(requests[1].Body, "");
    EXPECT_MEETS(requests[2].Head,
                 ExpectedHeadOf(peer, "GET", "VYRN", Form, "a=1&b=x y"));  // the form goes with the GET
}

TEST(THttpBodies, OwnHeadersReplaceTheDefaultUntilCleared) {
    TTestPeer peer(PeerWith("headers", Script));
    ASSERT_TRUE(peer.Started());
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    client->SetHeaders("Content-Type: text/xml\r\nX-Step: 7");
    EXPECT_EQ(client->Request("/post.asp", VerbPost, "<a/>", 4), 0);
    EXPECT_EQ(client->Request("/post.asp", VerbPost, "<b/>", 4), 0);
    client->SetHeaders("");
    EXPECT_EQ(client->Request("/post.asp", VerbPost, "c", 1), 0);
    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_MEETS(requests[0].Head, ExpectedHeadOf(peer, "POST", "VYRN", "Content-Type: text/xml\r\nX-Step: 7", "<a/>"));
    EXPECT_MEETS(requests[1].Head, ExpectedHeadOf(peer, "POST", "VYRN", "Content-Type: text/xml\r\nX-Step: 7", "<b/>"));
    EXPECT_MEETS(requests[2].Head, ExpectedHeadOf(peer, "POST", "VYRN", Form, "c"));
    client->SetAgentName("Late");  // waits for the next session
    EXPECT_EQ(client->Request("/post.asp", VerbGet, nullptr, 0), 0);
    EXPECT_MEETS(peer.Requests().back().Head, ExpectedHeadOf(peer, "GET", "VYRN", Form, ""));

    THTTP named(false, 0);
    named.SetAgentName("Check");
    ASSERT_EQ(named.Connect(peer.Host(), peer.Port()), 0);
    EXPECT_EQ(named.Request("/post.asp", VerbGet, nullptr, 0), 0);
    EXPECT_MEETS(peer.Requests().back().Head, ExpectedHeadOf(peer, "GET", "THTTPCheck", Form, ""));
}

TEST(THttpBodies, UploadsAreMultipartByteForByte) {
    TTestPeer peer(PeerWith("uploads", Script));
    ASSERT_TRUE(peer.Started());
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    const std::string content("p7s\0\xFF\r\n", 7);
    const std::string path = TempPath("data.p7s");
    WriteFileBytes(path, content);
    EXPECT_EQ(client->UploadData("/post.asp", "abc", 3), 0);
    EXPECT_EQ(client->UploadFile("/post.asp", path.c_str()), 0);
    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Body, WireMultipartBody("bin", "abc"));
    EXPECT_EQ(requests[1].Body, WireMultipartBody("data.p7s", content));
    for (const auto& request : requests)
        EXPECT_MEETS(request.Head, ExpectedHeadOf(peer, "POST", "VYRN", WireMultipartHeader, request.Body));
    // The multipart headers stay for later requests.
    EXPECT_EQ(client->Request("/post.asp", VerbPost, "x", 1), 0);
    EXPECT_MEETS(peer.Requests().back().Head, ExpectedHeadOf(peer, "POST", "VYRN", WireMultipartHeader, "x"));
    DeleteFileA(path.c_str());
}

TEST(THttpBodies, UploadOfAnUnreadableFileSendsNothing) {
    TTestPeer peer(PeerWith("unreadable", Script));
    ASSERT_TRUE(peer.Started());
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    const std::string locked = TempPath("locked.p7s");
    WriteFileBytes(locked, "secret");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const std::string missing = TempPath("no-such-file.p7s");
    for (const char* path : {missing.c_str(), locked.c_str(), static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(path == nullptr ? "null" : path);
        EXPECT_EQ(client->UploadFile("/post.asp", path), 1);
        EXPECT_EQ(client->GetLastErrorText().rfind("THTTP: UploadFile. Не удается прочитать файл для отправки.", 0),
                  0u);
    }
    EXPECT_EQ(client->UploadData("/post.asp", nullptr, 5), 1);
    EXPECT_EQ(client->UploadData("/post.asp", "abc", -1), 1);
    CloseHandle(holder);
    DeleteFileA(locked.c_str());
    EXPECT_TRUE(peer.Requests().empty());
}

TEST(THttpBodies, VerbZeroIsRefusedBeforeSending) {
    TTestPeer peer(PeerWith("verb", Script));
    ASSERT_TRUE(peer.Started());
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    for (int verb : {0, 4, -1}) {
        EXPECT_EQ(client->Request("/post.asp", verb, nullptr, 0), 1);
        EXPECT_EQ(client->GetLastErrorText().rfind("THTTP: Не заdан метод отправки запроса.", 0), 0u);
    }
    EXPECT_EQ(client->Request("/post.asp", VerbPut, "put", 3), 0);
    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_MEETS(requests[0].Head, ExpectedHeadOf(peer, "PUT", "VYRN", Form, "put"));
}
