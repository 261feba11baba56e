// The TCP port check against real listeners on loopback.
#include "LoopbackListener.h"
#include "Sandbox.h"
#include "SeamOverride.h"
#include "SocketApi.h"
#include "Tests.h"
#include <ws2tcpip.h>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

class Winsock {
public:
    Winsock() {
        WSADATA d;
        WSAStartup(MAKEWORD(2, 2), &d);
    }
    ~Winsock() { WSACleanup(); }
};

class CheckConnectTest : public testing::Test {
protected:
    TSeamOverride<TSocketApi> seam;
    Winsock winsock;
};

TEST_F(CheckConnectTest, OpenPortPassesAndLeavesInfo) {
    TLoopbackListener open("127.0.0.1");
    std::string info = "как было";
    EXPECT_EQ(CheckConnect("127.0.0.1", open.Port(), info), 0);
    EXPECT_EQ(info, "как было");
}

TEST_F(CheckConnectTest, ClosedPortFails) {
    TLoopbackListener gone("127.0.0.1");
    const int port = gone.Port();
    gone.Close();
    std::string info;
    EXPECT_EQ(CheckConnect("127.0.0.1", port, info), 3);
    EXPECT_EQ(info, "Failed to connect.\r\nError code: 10061");
}

TEST_F(CheckConnectTest, EveryAddressMustAccept) {
    if (!InSandbox())
        GTEST_SKIP() << "test host names resolve only inside the sandbox";
    TLoopbackListener first("127.0.0.5");
    std::string info;
    EXPECT_EQ(CheckConnect("two-addresses.vorsalt.test", first.Port(), info), 3);
    EXPECT_EQ(info, "Failed to connect.\r\nError code: 10061");

    TLoopbackListener second("127.0.0.6", first.Port());
    info.clear();
    EXPECT_EQ(CheckConnect("two-addresses.vorsalt.test", first.Port(), info), 0);
    EXPECT_EQ(info, "");
}

TEST_F(CheckConnectTest, UnresolvedHost) {
    if (!InSandbox())
        GTEST_SKIP() << "an unknown name would be asked of the machine's resolver";
    std::string info;
    EXPECT_EQ(CheckConnect("no-such-host.vorsalt.test", 80, info), 1);
    const std::string prefix = "getaddrinfo: s\n";
    ASSERT_EQ(info.compare(0, prefix.size(), prefix), 0) << info;
    const size_t code = info.rfind("\r\nError code: ");
    ASSERT_NE(code, std::string::npos) << info;
    const int number = std::atoi(info.c_str() + code + 14);
    EXPECT_TRUE(number == WSAHOST_NOT_FOUND || number == WSATRY_AGAIN || number == WSANO_DATA) << info;
    // The system's words for the error, on one line.
    const std::string words = info.substr(prefix.size(), code - prefix.size());
    EXPECT_EQ(words.find_first_of("\r\n"), std::string::npos) << info;
}

TEST_F(CheckConnectTest, IPv6AddressCannotBindToIPv4Wildcard) {
    std::string info;
    EXPECT_EQ(CheckConnect("::1", 80, info), 2);
    EXPECT_EQ(info.rfind("Socket bind error\r\nError code: ", 0), 0u) << info;
    EXPECT_NE(info, "Socket bind error\r\nError code: 0");
}

int WSAAPI FailingStartup(WORD, LPWSADATA) {
    WSASetLastError(WSASYSNOTREADY);
    return WSASYSNOTREADY;
}

SOCKET WSAAPI NoSocket(int, int, int) {
    WSASetLastError(WSAEMFILE);
    return INVALID_SOCKET;
}

TEST_F(CheckConnectTest, FailuresThePlatformCannotProduce) {
    struct Case {
        const char* name;
        TSocketApi calls;
        int result;
        const char* info;
    } const cases[] = {
        {"sockets library does not start", {FailingStartup, ::socket}, 1, "Error at WSAStartup()\r\nError code: 10091"},
        // Nothing was tried, so nothing passed.
        {"no socket for any address", {::WSAStartup, NoSocket}, 100, "Socket create error\r\nError code: 10024"},
    };
    TLoopbackListener open("127.0.0.1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        seam->WSAStartup = c.calls.WSAStartup;
        seam->socket = c.calls.socket;
        std::string info;
        EXPECT_EQ(CheckConnect("127.0.0.1", open.Port(), info), c.result);
        EXPECT_EQ(info, c.info);
    }
}

}  // namespace
