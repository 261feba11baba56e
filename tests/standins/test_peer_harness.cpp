#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>
#include <string>
#include "TestPeer.h"

namespace {
// Sends raw bytes to the peer and reads its reply until it closes the connection.
std::string Exchange(const TTestPeer& peer, const std::string& request) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET sock = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(peer.Port()));
    address.sin_addr.s_addr = inet_addr(peer.Host().c_str());
    std::string reply;
    if (connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        send(sock, request.data(), static_cast<int>(request.size()), 0);
        char buffer[4096];
        int received;
        while ((received = recv(sock, buffer, sizeof buffer, 0)) > 0)
            reply.append(buffer, static_cast<size_t>(received));
    }
    closesocket(sock);
    WSACleanup();
    return reply;
}
}  // namespace

TEST(TestPeer, RepliesFromTheScriptAndLogsTheRequestAsSent) {
    TPeerOptions options;
    options.Name = "harness";
    options.Host = "127.0.0.7";
    options.Script = R"({"/page.asp": {"status": 201, "headers": [["X-Count", "5"]], "body": "done"}})";
    TTestPeer peer(options);
    ASSERT_TRUE(peer.Started());
    const std::string body("a=1&b=x y\r\n\xFF\x00\"\\", 15);
    const std::string head =
        "POST /page.asp?q=1 HTTP/1.1\r\nHost: 127.0.0.7\r\nContent-Length: 15\r\n"
        "Connection: close\r\n\r\n";
    const std::string reply = Exchange(peer, head + body);
    EXPECT_EQ(reply.substr(0, 21), "HTTP/1.1 201 Created\r");
    EXPECT_NE(reply.find("X-Count: 5\r\n"), std::string::npos);
    EXPECT_EQ(reply.substr(reply.size() - 4), "done");

    const auto requests = peer.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const TPeerRequest& request = requests[0];
    EXPECT_EQ(request.RequestLine, "POST /page.asp?q=1 HTTP/1.1");
    EXPECT_EQ(request.Method, "POST");
    EXPECT_EQ(request.Target, "/page.asp?q=1");
    EXPECT_EQ(request.Version, "HTTP/1.1");
    EXPECT_EQ(request.Head, head);
    EXPECT_EQ(request.Body, body);
    EXPECT_EQ(request.Header("content-length"), "15");
    EXPECT_TRUE(request.HasHeader("HOST"));
    EXPECT_FALSE(request.HasHeader("Content-Type"));
    EXPECT_FALSE(request.Tls);
    EXPECT_EQ(request.Connection, 1);
}

TEST(TestPeer, PkiFilesAreReachable) {
    for (const char* name : {"ca.der", "client.pfx", "server.der", "expired.der"}) {
        const DWORD attributes = GetFileAttributesA(TestPkiFile(name).c_str());
        EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES) << name;
    }
}

TEST(ParsePeerLog, ReadsEscapesAndSkipsBrokenLines) {
    const std::string log =
        "{\"event\": \"request\", \"conn\": 2, \"tls\": true, \"client_cert\": \"CN\", "
        "\"request_line\": \"GET /\\u00ff\\\"\\\\ HTTP/1.1\", \"headers\": [[\"A\", \"1\"], [\"b\", \"\\t2\"]], "
        "\"body_hex\": \"00ff0d0a\"}\n"
        "not json\n"
        "{\"event\": \"tunnel\", \"target\": \"127.0.0.1:443\", \"result\": \"open\"}\n"
        "{\"event\": \"request\", \"request_line\": \"cut\n";
    const auto events = ParsePeerLog(log);
    ASSERT_EQ(events.size(), 2u);
    const TPeerRequest& request = events[0].Request;
    EXPECT_EQ(request.RequestLine, "GET /\xFF\"\\ HTTP/1.1");
    EXPECT_EQ(request.Connection, 2);
    EXPECT_TRUE(request.Tls);
    EXPECT_EQ(request.ClientCert, "CN");
    EXPECT_EQ(request.Header("B"), "\t2");
    EXPECT_EQ(request.Body, std::string("\0\xFF\r\n", 4));
    EXPECT_EQ(events[1].Event, "tunnel");
    EXPECT_EQ(events[1].Detail, "127.0.0.1:443 open");
}
