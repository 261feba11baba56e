// THTTP's send: the recoveries, the three tries, the dialogs, the status texts and the statuses
// that cannot be read.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>
#include "TextChecks.h"
#include "DebugOutputCapture.h"
#include "WinInetFixture.h"
#include "WinInetOptions.h"
#include "WireScenarios.h"

namespace {
int SendCalls = 0;
int DialogCalls = 0;
DWORD DialogError = 0;
DWORD DialogAnswer = 0;
int StatusDuringSend = -1;
THTTP* Observed = nullptr;

BOOL WINAPI SendFailing12044(HINTERNET, LPCSTR, DWORD, LPVOID, DWORD) {
    ++SendCalls;
    SetLastError(ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED);
    return FALSE;
}

// Fails with 12044 once, then sends for real.
BOOL WINAPI SendFailing12044Once(HINTERNET request, LPCSTR headers, DWORD length, LPVOID data, DWORD size) {
    if (SendCalls++ == 0) {
        SetLastError(ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED);
        return FALSE;
    }
    return RealCalls<TWinInetApi>().HttpSendRequestA(request, headers, length, data, size);
}

BOOL WINAPI SendObservingStatus(HINTERNET request, LPCSTR headers, DWORD length, LPVOID data, DWORD size) {
    StatusDuringSend = Observed->GetStatusCode();
    return RealCalls<TWinInetApi>().HttpSendRequestA(request, headers, length, data, size);
}

DWORD WINAPI Dialog(HWND, HINTERNET, DWORD error, DWORD, LPVOID*) {
    ++DialogCalls;
    DialogError = error;
    return DialogAnswer;
}

// The password dialog as a user fills it in: credentials set on the request, then retry.
DWORD WINAPI PasswordDialog(HWND, HINTERNET request, DWORD error, DWORD, LPVOID*) {
    ++DialogCalls;
    DialogError = error;
    RealCalls<TWinInetApi>().InternetSetOptionA(request, INTERNET_OPTION_USERNAME, const_cast<char*>("u"), 2);
    RealCalls<TWinInetApi>().InternetSetOptionA(request, INTERNET_OPTION_PASSWORD, const_cast<char*>("p"), 2);
    return ERROR_INTERNET_FORCE_RETRY;
}

BOOL WINAPI StatusUnreadable(HINTERNET request, DWORD level, LPVOID buffer, LPDWORD length, LPDWORD index) {
    if (level == (HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER)) {
        SetLastError(ERROR_HTTP_INVALID_QUERY_REQUEST);
        return FALSE;
    }
    return RealCalls<TWinInetApi>().HttpQueryInfoA(request, level, buffer, length, index);
}

void ResetCounts(DWORD answer = ERROR_CANCELLED) {
    SendCalls = DialogCalls = 0;
    DialogError = 0;
    DialogAnswer = answer;
}

const char Script[] = R"({"/ok.asp": {"status": 200, "body": "OK"},
  "/secret.asp": {"auth": "u:p", "status": 200, "body": "in"},
  "/other.asp": {"auth": "v:w", "status": 200, "body": "in"},
  "/big.asp": {"status": 413},
  "/h.asp": {"status": 200, "headers": [["X-Count", "5"], ["Vary", "Accept"],
                                        ["X-Long", "a value longer than its name"]], "body": ""},
  "/gone.asp": {"status": 404}})";

class THttpSend : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(peer.Started());
        client = ConnectedClient(peer);
        ASSERT_NE(client, nullptr);
        ResetCounts();
    }
    TTestPeer peer{PeerWith("send", Script)};
    std::unique_ptr<THTTP> client;
    TSeamOverride<TWinInetApi> seam;
};
}  // namespace

TEST(THttpSendClosedPort, ThreeTriesThenTheSslText) {
    int port = 0;
    {
        TTestPeer gone(PeerWith("closed", "{}"));
        ASSERT_TRUE(gone.Started());
        port = gone.Port();
    }
    THTTP client(false, 0);
    ASSERT_EQ(client.Connect("127.0.0.1", port), 0);  // WinINet connects at the first request
    TDebugOutputCapture capture;
    EXPECT_EQ(client.Request("/x.asp", VerbGet, nullptr, 0), 12175);
    const std::string text = client.GetLastErrorText();
    EXPECT_TRUE(StartsWith(text,
                           "THTTP: Ошибка при отправке запроса. Возможно имеются проблемы с установкой "
                           "SSL-соединения."))
        << text;
    EXPECT_NE(text.find("(0x2efd)"), std::string::npos) << text;  // 12029
    EXPECT_TRUE(Logged(capture, "THTTP: ERROR_INTERNET_CANNOT_CONNECT - trying again #1 from 2"));
    EXPECT_TRUE(Logged(capture, "THTTP: ERROR_INTERNET_CANNOT_CONNECT - trying again #2 from 2"));
    EXPECT_FALSE(Logged(capture, "THTTP: ERROR_INTERNET_CANNOT_CONNECT - trying again #3 from 2"));
    const auto lines = capture.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "VYRNLog: THTTP: HttpSendRequest error: 12029"), 3);
    EXPECT_EQ(client.GetStatusCode(), 0);
}

TEST_F(THttpSend, StatusIsZeroWhileSending) {
    ASSERT_EQ(client->Request("/gone.asp", VerbGet, nullptr, 0), 404);
    Observed = client.get();
    seam->HttpSendRequestA = SendObservingStatus;
    EXPECT_EQ(client->Request("/ok.asp", VerbGet, nullptr, 0), 0);
    EXPECT_EQ(StatusDuringSend, 0);
    EXPECT_EQ(client->GetStatusCode(), 200);
}

TEST_F(THttpSend, StatusTextsNameTheServerAndTheLength) {
    EXPECT_EQ(client->Request("/gone.asp", VerbGet, nullptr, 0), 404);
    EXPECT_TRUE(StartsWith(client->GetLastErrorText(), "THTTP: Не найден путь на сервеpе 127.0.0.1\r\nОxибка: "));
    const std::string data(5000, 'd');
    EXPECT_EQ(client->Request("/big.asp", VerbPost, data.data(), 5000), 413);
    EXPECT_TRUE(StartsWith(client->GetLastErrorText(),
                           "THTTP: Размер данных переданный серверs слишком велик: 5000\r\nКод возврата HTTP: 413"));
    seam->HttpQueryInfoA = StatusUnreadable;
    EXPECT_EQ(client->Request("/ok.asp", VerbGet, nullptr, 0), 4);
    EXPECT_TRUE(StartsWith(client->GetLastErrorText(), "THTTP: Ошибка HttpQueryInfo."));
    EXPECT_EQ(client->GetStatusCode(), 0);
}

TEST_F(THttpSend, QuietRefusesThePasswordDialogForOneSend) {
    seam->InternetErrorDlg = Dialog;
    client->SetQuiet(true);
    TDebugOutputCapture capture;
    EXPECT_EQ(client->Request("/secret.asp", VerbGet, nullptr, 0), 2);
    EXPECT_EQ(DialogCalls, 0);
    EXPECT_TRUE(Logged(capture, "THTTP: quiet"));
    EXPECT_TRUE(Logged(capture, "THTTP: InternetErrorDlg ERROR_INTERNET_INCORRECT_PASSWORD"));
    EXPECT_TRUE(StartsWith(client->GetLastErrorText(), "THTTP: Не установлены имя пользователя и пароль для сессиh."));
    EXPECT_EQ(client->GetStatusCode(), 401);
    EXPECT_EQ(client->Request("/secret.asp", VerbGet, nullptr, 0), 2);  // quiet was for one send
    EXPECT_EQ(DialogCalls, 1);
    EXPECT_EQ(DialogError, static_cast<DWORD>(ERROR_INTERNET_INCORRECT_PASSWORD));
}

TEST_F(THttpSend, PasswordDialogRetryStartsOver) {
    seam->InternetErrorDlg = PasswordDialog;
    EXPECT_EQ(client->Request("/secret.asp", VerbGet, nullptr, 0), 0);
    EXPECT_TRUE(client->ResponseEquals("in"));
    EXPECT_EQ(DialogCalls, 1);
    const auto requests = peer.Requests();
    ASSERT_GE(requests.size(), 2u);  // WinINet may answer the challenge itself once it has the credentials
    EXPECT_FALSE(requests[0].HasHeader("Authorization"));
    EXPECT_EQ(requests.back().Header("Authorization"), "Basic dTpw");

    // A retry that meets 401 again ends with quiet set: no second dialog.
    seam->InternetErrorDlg = Dialog;
    ResetCounts(ERROR_INTERNET_FORCE_RETRY);
    THTTP other(false, 0);
    ASSERT_EQ(other.Connect(peer.Host(), peer.Port()), 0);
    EXPECT_EQ(other.Request("/other.asp", VerbGet, nullptr, 0), 2);
    EXPECT_EQ(DialogCalls, 1);
}

TEST_F(THttpSend, ClientCertificateRequestWithoutCertificateOrDialogs) {
    seam->HttpSendRequestA = SendFailing12044;
    seam->InternetErrorDlg = Dialog;
    EXPECT_EQ(client->Request("/ok.asp", VerbGet, nullptr, 0), 2);
    EXPECT_EQ(SendCalls, 2);  // one plain resend
    EXPECT_EQ(DialogCalls, 0);
    EXPECT_TRUE(StartsWith(client->GetLastErrorText(), "THTTP: Требуется клиентская ауrентификация."));
}

TEST_F(THttpSend, ClientCertificateDialogAnswers) {
    seam->InternetErrorDlg = Dialog;
    client->SetShowDialogs(true);
    seam->HttpSendRequestA = SendFailing12044;
    EXPECT_EQ(client->Request("/ok.asp", VerbGet, nullptr, 0), 2);
    EXPECT_EQ(DialogCalls, 1);
    EXPECT_EQ(DialogError, static_cast<DWORD>(ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED));
    EXPECT_TRUE(StartsWith(client->GetLastErrorText(), "THTTP: Не установлен сертификат для сессии."));

    ResetCounts(ERROR_SUCCESS);
    seam->HttpSendRequestA = SendFailing12044Once;
    EXPECT_EQ(client->Request("/ok.asp", VerbGet, nullptr, 0), 0);
    EXPECT_EQ(DialogCalls, 1);
    EXPECT_TRUE(client->ResponseEquals("OK"));
}

TEST_F(THttpSend, HeadersByNameUseTheCustomQuery) {
    EXPECT_EQ(client->GetCapturedHeader("X-Count"), "");
    ASSERT_EQ(client->Request("/h.asp", VerbGet, nullptr, 0), 0);
    std::string value = "old";
    EXPECT_EQ(client->GetHeaderByName("X-Count", &value), 0);
    EXPECT_EQ(value, "5");  // not the Vary header that level 65 would give
    EXPECT_EQ(client->GetHeaderByName("X-Long", &value), 0);
    EXPECT_EQ(value, "a value longer than its name");
    EXPECT_EQ(client->GetHeaderByName("X-Missing", &value), 0);
    EXPECT_EQ(value, "");
    EXPECT_TRUE(StartsWith(client->GetLastErrorText(), " ("));
    EXPECT_EQ(client->GetCapturedHeader("X-Count"), "5");
    EXPECT_EQ(client->Request("/gone.asp", VerbGet, nullptr, 0), 404);
    EXPECT_EQ(client->GetCapturedHeader("X-Count"), "5");  // kept from the last 200
    EXPECT_EQ(client->GetCapturedHeader(""), "");
    EXPECT_EQ(client->Request("/h.asp", VerbGet, nullptr, 0), 0);
    EXPECT_EQ(client->GetCapturedHeader("X-Long"), "");  // registered only now
}

TEST(THttpHeaders, WithoutRequestTheQueryFails) {
    THTTP client(false, 0);
    std::string value = "x";
    EXPECT_EQ(client.GetHeaderByName("X-Count", &value), 1);
    EXPECT_EQ(value, "");
    EXPECT_TRUE(StartsWith(client.GetLastErrorText(), "THTTP: Ошибка запроса размeра заголовка HTTP"));
}

TEST_F(THttpSend, ProxyCredentialsOnlyWithoutTheSystemProxy) {
    TOptionRecorder recorder(seam);
    client->SetProxyUser("pu");
    client->SetProxyPassword("pp");
    EXPECT_EQ(client->Request("/ok.asp", VerbGet, nullptr, 0), 0);
    const std::vector<DWORD> first = recorder.Options();
    EXPECT_EQ(std::count(first.begin(), first.end(), static_cast<DWORD>(INTERNET_OPTION_PROXY_USERNAME)), 0);
    client->SetUseSystemProxy(false);
    EXPECT_EQ(client->Request("/ok.asp", VerbGet, nullptr, 0), 0);
    const std::vector<DWORD> expected = {INTERNET_OPTION_PROXY_PASSWORD, INTERNET_OPTION_PROXY_USERNAME};
    EXPECT_EQ(recorder.Options(), expected);
}

namespace {
// The start of THTTP's text after a raw answer of the status with the result.
std::string RawAnswerText(int result, int status) {
    switch (result) {
    case 0:
        return " (127.0.0.1:raw";
    case 4:
        return "THTTP: Ошибка HttpQueryInfo.\r\nОшибка LE № 0x2f78: ";
    default:
        return "THTTP: Ошибка Возвpащен неверный код возврата HTTP: " + std::to_string(status);
    }
}
}  // namespace

TEST(THttpRawAnswers, OnlyAReadStatusOf200Or201IsASuccess) {
    TTestPeer peer(PeerWith("raw", RawAnswersScript()));
    ASSERT_TRUE(peer.Started());
    auto client = ConnectedClient(peer);
    ASSERT_NE(client, nullptr);
    CheckRawAnswers(*client, peer, &TRawAnswer::WinInet, RawAnswerText);
}
