// THTTP's session and connection: each failure of the session steps through the seam, the
// offline mark in the error text, and how often sessions and connections are opened.
#include <gtest/gtest.h>
#include <string>
#include "TextChecks.h"
#include "WinInetFixture.h"
#include "WineBehaviour.h"

namespace {
int OpenCalls = 0;
int ConnectCalls = 0;
int DialCalls = 0;
bool DialArgumentsPlain = false;
DWORD StateFlags = 0;
bool StateConnected = true;
DWORD DialAnswer = 0;

HINTERNET WINAPI CountedOpen(LPCSTR agent, DWORD access, LPCSTR proxy, LPCSTR bypass, DWORD flags) {
    ++OpenCalls;
    return RealCalls<TWinInetApi>().InternetOpenA(agent, access, proxy, bypass, flags);
}

HINTERNET WINAPI OpenFailing(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD) {
    ++OpenCalls;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

HINTERNET WINAPI CountedConnect(HINTERNET session, LPCSTR server, INTERNET_PORT port, LPCSTR user, LPCSTR password,
                                DWORD service, DWORD flags, DWORD_PTR context) {
    ++ConnectCalls;
    return RealCalls<TWinInetApi>().InternetConnectA(session, server, port, user, password, service, flags, context);
}

HINTERNET WINAPI ConnectFailing(HINTERNET, LPCSTR, INTERNET_PORT, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR) {
    ++ConnectCalls;
    SetLastError(ERROR_INTERNET_NAME_NOT_RESOLVED);
    return nullptr;
}

BOOL WINAPI ScriptedState(LPDWORD flags, DWORD) {
    *flags = StateFlags;
    return StateConnected ? TRUE : FALSE;
}

DWORD WINAPI ScriptedDial(HWND parent, LPSTR name, DWORD flags, DWORD_PTR* connection, DWORD) {
    ++DialCalls;
    DialArgumentsPlain = parent == nullptr && name == nullptr && flags == 0 && connection != nullptr;
    return DialAnswer;
}

bool ExtendedErrorOnSession = false;
BOOL WINAPI ScriptedExtendedError(HINTERNET handle, DWORD option, LPVOID buffer, LPDWORD length) {
    if (option != INTERNET_OPTION_EXTENDED_ERROR)
        return RealCalls<TWinInetApi>().InternetQueryOptionA(handle, option, buffer, length);
    ExtendedErrorOnSession = handle != nullptr && *length == sizeof(DWORD);
    *static_cast<DWORD*>(buffer) = WSAECONNREFUSED;
    return TRUE;
}

void ResetCounts() {
    OpenCalls = ConnectCalls = DialCalls = 0;
}
}  // namespace

TEST(THttpSession, EachStepOfTheSession) {
    const DWORD noDialUpConnection = 668;
    const DWORD modem = INTERNET_CONNECTION_MODEM;
    const DWORD noModem = INTERNET_CONNECTION_OFFLINE | INTERNET_CONNECTION_MODEM_BUSY | INTERNET_CONNECTION_PROXY |
                          INTERNET_CONNECTION_LAN;  // 0x2e
    struct Case {
        const char* name;
        bool openFails;
        bool connected;
        DWORD flags;
        DWORD dialAnswer;
        int result;
        const char* text;  // beginning of the error text; "" when it stays empty
        int dials;
        bool offline;
    } cases[] = {
        {"InternetOpen fails", true, true, 0, 0, 1, "THTTP: InternetOpen failed.", 0, false},
        {"connected", false, true, INTERNET_CONNECTION_LAN, 0, 0, "", 0, false},
        {"modem, dialing fails", false, false, modem, noDialUpConnection, 1,
         "THTTP: Internet Attempt Connect failed. Can't establish connection.", 1, false},
        {"modem, dialing succeeds", false, false, modem, ERROR_SUCCESS, 0, "", 1, false},
        {"no connection, no modem", false, false, noModem, 0, 0, "", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSeamOverride<TWinInetApi> seam;
        seam->InternetOpenA = c.openFails ? OpenFailing : CountedOpen;
        seam->InternetConnectA = CountedConnect;
        seam->InternetGetConnectedState = ScriptedState;
        seam->InternetDialA = ScriptedDial;
        StateConnected = c.connected;
        StateFlags = c.flags;
        DialAnswer = c.dialAnswer;
        ResetCounts();
        THTTP client(false, 0);
        EXPECT_EQ(client.Connect("127.0.0.1", 9), c.result);
        EXPECT_EQ(OpenCalls, 1);
        EXPECT_EQ(DialCalls, c.dials);
        if (c.dials != 0) {
            EXPECT_TRUE(DialArgumentsPlain);
        }
        EXPECT_EQ(ConnectCalls, c.result == 0 ? 1 : 0);
        EXPECT_EQ(client.GetServer(), c.result == 0 ? "127.0.0.1" : "");
        EXPECT_EQ(client.Offline(), c.offline);
        const std::string text = client.GetLastErrorText();
        EXPECT_TRUE(StartsWith(text, c.text)) << text;
        if (*c.text == '\0') {
            EXPECT_TRUE(StartsWith(text, " (127.0.0.1:)")) << text;
        }
        EXPECT_EQ(Contains(text, "; ConnectionState: 2e"), c.offline) << text;
        EXPECT_EQ(Contains(text, "; ConnectionState: "), c.offline) << text;
    }
}

TEST(THttpSession, OfflineMarkStaysForTheClient) {
    TSeamOverride<TWinInetApi> seam;
    seam->InternetGetConnectedState = ScriptedState;
    StateConnected = false;
    StateFlags = INTERNET_CONNECTION_OFFLINE;
    seam->InternetQueryOptionA = ScriptedExtendedError;
    THTTP client(false, 0);
    ASSERT_EQ(client.Connect("127.0.0.1", 9), 0);
    StateConnected = true;
    StateFlags = INTERNET_CONNECTION_LAN;
    ASSERT_EQ(client.Connect("127.0.0.2", 9), 0);  // a new session that finds a connection
    EXPECT_TRUE(client.Offline());
    EXPECT_TRUE(Contains(client.GetLastErrorText(), " (127.0.0.2:); ConnectionState: 2; SocketError: 274d"))
        << client.GetLastErrorText();
}

// Sessions and connections counted; the real functions run.
class THttpCountedConnection : public ::testing::Test {
protected:
    void SetUp() override {
        seam->InternetOpenA = CountedOpen;
        seam->InternetConnectA = CountedConnect;
        ResetCounts();
    }
    TSeamOverride<TWinInetApi> seam;
    THTTP client{false, 0};
};

TEST_F(THttpCountedConnection, FailedConnectKeepsTheSession) {
    seam->InternetConnectA = ConnectFailing;
    EXPECT_EQ(client.Connect("127.0.0.1", 9), 2);
    const std::string text = client.GetLastErrorText();
    EXPECT_TRUE(StartsWith(text, "THTTP: InternetConnect failed.")) << text;
    EXPECT_TRUE(Contains(text, "0x2ee7")) << text;  // 12007, the platform's error
    // The extended error is the thread's: the documented option needs no handle.
    EXPECT_MEETS(Contains(text, "; SocketError: "),
                 ContractOr(true, false, "the extended error is refused without a session handle"))
        << text;
    EXPECT_EQ(client.GetServer(), "");
    seam->InternetQueryOptionA = ScriptedExtendedError;
    ExtendedErrorOnSession = false;
    EXPECT_TRUE(Contains(client.GetLastErrorText(), "; SocketError: 274d")) << client.GetLastErrorText();
    EXPECT_TRUE(ExtendedErrorOnSession);  // the session stayed open

    seam->InternetConnectA = CountedConnect;
    EXPECT_EQ(client.Connect("127.0.0.1", 9), 0);
    EXPECT_EQ(OpenCalls, 2);  // the next Connect opens a new session
    EXPECT_EQ(ConnectCalls, 2);
    EXPECT_EQ(client.GetServer(), "127.0.0.1");
}

TEST_F(THttpCountedConnection, SameServerTwiceOpensOnce) {
    EXPECT_EQ(client.Connect("127.0.0.1", 9), 0);
    EXPECT_EQ(client.Connect("127.0.0.1", 10), 0);
    EXPECT_EQ(OpenCalls, 1);
    EXPECT_EQ(ConnectCalls, 1);
    EXPECT_EQ(client.Reconnect(), 0);  // a new session for the same server
    EXPECT_EQ(OpenCalls, 2);
    EXPECT_EQ(ConnectCalls, 2);
    EXPECT_EQ(client.GetServer(), "127.0.0.1");
}
