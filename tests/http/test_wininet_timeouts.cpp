// THTTP's time-outs: the three options and the handles they go to, process-wide defaults, and a
// reply slower than the time-out, which must end in a result and a text within bounded time.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "WinInetFixture.h"
#include "WinInetOptions.h"
#include "WineBehaviour.h"
#include "Wait.h"

namespace {
DWORD FailingOption = 0;

// Refuses FailingOption, passes every other on.
BOOL WINAPI SetOptionFailingOne(HINTERNET handle, DWORD option, LPVOID buffer, DWORD length) {
    if (option == FailingOption) {
        SetLastError(ERROR_INTERNET_BAD_OPTION_LENGTH);
        return FALSE;
    }
    return RealCalls<TWinInetApi>().InternetSetOptionA(handle, option, buffer, length);
}

DWORD ConnectTimeoutOf(HINTERNET handle) {
    DWORD value = 0;
    DWORD size = sizeof value;
    return RealCalls<TWinInetApi>().InternetQueryOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &value, &size) ? value
                                                                                                                 : 0;
}

// The connect time-out of each session that a connection is opened on.
std::vector<DWORD> SessionTimeouts;

HINTERNET WINAPI ConnectObservingSession(HINTERNET session, LPCSTR server, INTERNET_PORT port, LPCSTR user,
                                         LPCSTR password, DWORD service, DWORD flags, DWORD_PTR context) {
    SessionTimeouts.push_back(ConnectTimeoutOf(session));
    return RealCalls<TWinInetApi>().InternetConnectA(session, server, port, user, password, service, flags, context);
}

// Puts back the process-wide connect time-out that a test changed (the receive and send ones
// cannot be read back; each test runs in a process of its own).
class TProcessTimeoutGuard {
public:
    TProcessTimeoutGuard() : connect(ConnectTimeoutOf(nullptr)) {}
    ~TProcessTimeoutGuard() {
        RealCalls<TWinInetApi>().InternetSetOptionA(nullptr, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof connect);
    }
    TProcessTimeoutGuard(const TProcessTimeoutGuard&) = delete;
    TProcessTimeoutGuard& operator=(const TProcessTimeoutGuard&) = delete;

private:
    DWORD connect;
};

DWORD HandleTypeOf(HINTERNET handle) {
    DWORD type = 0;
    DWORD size = sizeof type;
    return RealCalls<TWinInetApi>().InternetQueryOptionA(handle, INTERNET_OPTION_HANDLE_TYPE, &type, &size) ? type : 0;
}

const char* const SlowReplies = R"({
    "/late.asp": {"delay": 3, "body": "late"},
    "/trickle.asp": {"body": "abcdef", "chunk_size": 2, "chunk_delay": 3},
    "/soon.asp": {"delay": 0.1, "body": "soon"},
    "/late-short.asp": {"delay": 1.5, "body": "late"},
    "/trickle-short.asp": {"body": "abcdef", "chunk_size": 2, "chunk_delay": 0.6}
})";
}  // namespace

TEST(THttpTimeouts, ThreeOptionsInOrderOnTheProcessOrOnTheSessionAndItsConnection) {
    struct Case {
        DWORD failing;
        bool result;
    } cases[] = {{0, true},
                 {INTERNET_OPTION_CONNECT_TIMEOUT, false},
                 {INTERNET_OPTION_RECEIVE_TIMEOUT, false},
                 {INTERNET_OPTION_SEND_TIMEOUT, false}};
    const DWORD order[] = {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                           INTERNET_OPTION_SEND_TIMEOUT};
    TProcessTimeoutGuard guard;
    TSeamOverride<TWinInetApi> seam;
    TOptionRecorder recorder(seam, SetOptionFailingOne);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        FailingOption = c.failing;
        THTTP client(false, 0);
        for (bool connected : {false, true}) {
            SCOPED_TRACE(connected ? "connected" : "no session");
            if (connected) {
                ASSERT_EQ(client.Connect("127.0.0.61", 1), 0);
            }
            recorder.Sets().clear();
            EXPECT_EQ(client.SetTimeouts(4321), c.result);
            // The null handle alone, or the session's three and then the connection's three;
            // all are tried, whichever fails.
            const std::vector<DWORD> handleTypes = connected ? std::vector<DWORD>{INTERNET_HANDLE_TYPE_INTERNET,
                                                                                  INTERNET_HANDLE_TYPE_CONNECT_HTTP}
                                                             : std::vector<DWORD>{0};
            ASSERT_EQ(recorder.Sets().size(), 3 * handleTypes.size());
            for (size_t i = 0; i < recorder.Sets().size(); ++i) {
                const TOptionSet& set = recorder.Sets()[i];
                EXPECT_EQ(set.Option, order[i % 3]);
                EXPECT_EQ(set.Value, 4321u);
                EXPECT_EQ(set.NullHandle, !connected);
                EXPECT_EQ(set.Handle, recorder.Sets()[i - i % 3].Handle);
                EXPECT_EQ(HandleTypeOf(set.Handle), handleTypes[i / 3]);
            }
        }
    }
    FailingOption = 0;
}

TEST(THttpTimeouts, ProcessDefaultsReachLaterSessionsAndSessionValuesStayWithTheirSession) {
    TProcessTimeoutGuard guard;
    TSeamOverride<TWinInetApi> seam;
    seam->InternetConnectA = ConnectObservingSession;
    SessionTimeouts.clear();
    THTTP client(false, 0);
    ASSERT_TRUE(client.SetTimeouts(1234));  // no session yet: the process's defaults
    EXPECT_EQ(ConnectTimeoutOf(nullptr), 1234u);
    ASSERT_EQ(client.Connect("127.0.0.61", 1), 0);
    ASSERT_TRUE(client.SetTimeouts(2345));  // this session's only
    EXPECT_EQ(ConnectTimeoutOf(nullptr), 1234u);
    ASSERT_EQ(client.Connect("127.0.0.62", 1), 0);  // another server: a new session
    THTTP other(false, 0);
    ASSERT_EQ(other.Connect("127.0.0.63", 1), 0);
    EXPECT_EQ(SessionTimeouts, (std::vector<DWORD>{1234, 1234, 1234}));
}

// Wine takes the process-wide receive and send time-outs but hands them to no connection or
// request (the connection reports 0 for both): a slow reply arrives whole.
TEST(THttpTimeouts, ProcessTimeoutsDoNotCutASlowReply) {
    TTestPeer peer(PeerWith("wininet-process-timeouts", SlowReplies, "", "127.0.0.64"));
    ASSERT_TRUE(peer.Started());
    struct Case {
        const char* path;
        const char* body;
        int cut;  // the result when the time-out ends the reply, as the request's own time-outs do
    } cases[] = {{"/late-short.asp", "late", 3}, {"/trickle-short.asp", "abcdef", 10}};
    const char NotReached[] = "process-wide time-outs reach no connection or request";
    TProcessTimeoutGuard guard;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        THTTP client(false, 0);
        client.SetShowDialogs(false);
        ASSERT_TRUE(client.SetTimeouts(400));
        ASSERT_EQ(client.Connect(peer.Host(), peer.Port()), 0);
        const DWORD start = GetTickCount();
        EXPECT_MEETS(client.Request(c.path, VerbGet, nullptr, 0), ContractOr(c.cut, 0, NotReached))
            << client.GetLastErrorText();
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_MEETS(client.ResponseEquals(c.body), ContractOr(false, true, NotReached));
        // The reply was slower than the time-out.
        EXPECT_MEETS(elapsed >= 1000u, ContractOr(false, true, NotReached));
        EXPECT_LT(elapsed, Scaled(30000));
    }
}

// Set on the connected client, the time-outs end each later request on that connection.
TEST(THttpTimeouts, ConnectedClientsTimeoutsEndASlowReplyWithAResultAndAText) {
    TTestPeer peer(PeerWith("wininet-client-timeouts", SlowReplies, "", "127.0.0.65"));
    ASSERT_TRUE(peer.Started());
    struct Case {
        const char* path;
        int result;
        int status;
        TExpected<std::string> text;  // start of the error text
        const char* body;
    } cases[] = {
        {"/late.asp", 3, 0,
         ContractOr("THTTP: Ошибка при отправке запрnса.\r\nОшибка LE № 0x2ee2",
                    "THTTP: Ошибка при отправке запрnса.\r\nОшибка LE № 0x2efe",
                    "a status line that does not come in time ends with 12030, not 12002"),
         nullptr},
        {"/trickle.asp", 10, 200,
         ContractOr("THTTP: Ошибка полуwения информации после отправки gапроса.\r\nОшибка LE № 0x2ee2",
                    "THTTP: Ошибка полуwения информации после отправки gапроса.\r\nОшибка LE № 0x274c",
                    "a body that stops coming ends with the socket's 10060, not 12002"),
         nullptr},
        {"/soon.asp", 0, 200, "", "soon"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        auto client = ConnectedClient(peer);
        ASSERT_NE(client, nullptr);
        ASSERT_TRUE(client->SetTimeouts(800));
        const DWORD start = GetTickCount();
        EXPECT_EQ(client->Request(c.path, VerbGet, nullptr, 0), c.result);
        const DWORD elapsed = GetTickCount() - start;
        const std::string text = client->GetLastErrorText();
        EXPECT_TRUE(StartsAs(text, c.text));
        EXPECT_EQ(client->GetStatusCode(), c.status);
        // The result tells that the time-out ended the request; the bound, that it ends.
        EXPECT_LT(elapsed, Scaled(30000));
        if (c.body != nullptr) {
            EXPECT_TRUE(client->ResponseEquals(c.body));
        } else {
            EXPECT_EQ(client->GetResponse(false), nullptr);
            EXPECT_EQ(client->GetResponseSize(), 0);
        }
    }
}
