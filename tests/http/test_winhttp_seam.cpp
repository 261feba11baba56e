// TWinHTTP where Wine's WinHTTP cannot fail or must not search the network: the open and
// connect failures, the send errors 12044, 12045 and 12175, and proxy discovery.
#include <gtest/gtest.h>
#include <string>
#include "TextChecks.h"
#include "SeamOverride.h"
#include "WinHttpApi.h"
#include "class_http_winhttp.h"

namespace {
HINTERNET WINAPI RefusedOpen(LPCWSTR, DWORD, LPCWSTR, LPCWSTR, DWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

HINTERNET WINAPI RefusedConnect(HINTERNET, LPCWSTR, INTERNET_PORT, DWORD) {
    SetLastError(ERROR_WINHTTP_INVALID_URL);
    return nullptr;
}

DWORD SendError = 0;
int SendCalls = 0;
int FailingSends = 0;  // the first this many sends fail with SendError

BOOL WINAPI ScriptedSend(HINTERNET request, LPCWSTR headers, DWORD headersLength, LPVOID data, DWORD length,
                         DWORD total, DWORD_PTR context) {
    if (SendCalls++ < FailingSends) {
        SetLastError(SendError);
        return FALSE;
    }
    return WinHttpSendRequest(request, headers, headersLength, data, length, total, context);
}

// Discovery replies: texts in global memory that the client must free.
LPWSTR GlobalText(const wchar_t* text) {
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    auto* copy = static_cast<LPWSTR>(GlobalAlloc(GMEM_FIXED, bytes));
    memcpy(copy, text, bytes);
    return copy;
}

int DiscoveryCalls = 0;
std::wstring DiscoveryUrl;
WINHTTP_AUTOPROXY_OPTIONS DiscoveryOptions{};
bool DiscoveryFails = false;

BOOL WINAPI NoUserConfig(WINHTTP_CURRENT_USER_IE_PROXY_CONFIG*) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

BOOL WINAPI FakeDiscovery(HINTERNET session, LPCWSTR url, WINHTTP_AUTOPROXY_OPTIONS* options,
                          WINHTTP_PROXY_INFO* info) {
    ++DiscoveryCalls;
    DiscoveryUrl = url;
    DiscoveryOptions = *options;
    if (session == nullptr || DiscoveryFails) {
        SetLastError(ERROR_WINHTTP_AUTODETECTION_FAILED);
        return FALSE;
    }
    info->dwAccessType = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
    info->lpszProxy = GlobalText(L"found.proxy:3128");
    info->lpszProxyBypass = GlobalText(L"<local>");
    return TRUE;
}

// A client connected (WinHTTP connects lazily) to a loopback port nobody needs to answer on.
void ConnectNowhere(TWinHTTP& client) {
    ASSERT_EQ(client.Connect("127.0.0.1", 9), 0) << client.GetLastErrorText();
}
}  // namespace

TEST(WinHttpSeamFailures, OpenAndConnectFailuresLeaveTheClientUnconnected) {
    TSeamOverride<TWinHttpApi> seam;
    struct Case {
        const char* name;
        decltype(TWinHttpApi::WinHttpOpen) open;
        decltype(TWinHttpApi::WinHttpConnect) connect;
        int result;
        std::string text;
    } cases[] = {
        {"open", RefusedOpen, WinHttpConnect, 1, "TWinHTTP: WinHttpOpen failed.\r\nОшибка LE № 0x8: "},
        {"connect", WinHttpOpen, RefusedConnect, 2, "TWinHTTP: WinHttpConnect failed.\r\nОшибка LE № 0x2ee5: "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        seam->WinHttpOpen = c.open;
        seam->WinHttpConnect = c.connect;
        TWinHTTP client(false);
        EXPECT_EQ(client.Connect("127.0.0.1", 0), c.result);
        EXPECT_EQ(client.GetServer(), "");
        EXPECT_EQ(client.Reconnect(), 0);
        const std::string text = client.GetLastErrorText();
        EXPECT_TRUE(StartsWith(text, c.text)) << text;
        const size_t location = text.find(" (:) so: TWinHTTP: Не открыт запрос.");
        EXPECT_NE(location, std::string::npos) << text;
        // The failure stays held for a second call.
        const std::string again = client.GetLastErrorText();
        EXPECT_EQ(again.substr(0, again.find(" (:) so: ")), text.substr(0, location));
        EXPECT_EQ(client.Request("/a.asp", VerbGet, nullptr, 0), 1);
        EXPECT_TRUE(StartsWith(client.GetLastErrorText(), "TWinHTTP: Не открыто соединение с сервером."));
    }
}

TEST(WinHttpSeamFailures, SendErrorsGiveTheirResultsAndTexts) {
    TSeamOverride<TWinHttpApi> seam;
    seam->WinHttpSendRequest = ScriptedSend;
    const std::string attempt = "sent=0recived=0\r\nОшибка LE № ";
    struct Case {
        const char* name;
        DWORD error;
        int failing;
        bool sendClientCert;
        int result;
        int sends;
        std::string text;
    } cases[] = {
        {"CA chain missing", ERROR_WINHTTP_SECURE_INVALID_CA, 1, true, 5, 1,
         "TWinHTTP: Ошибка при отправке запроса. Возможно не установлена цепочка сертификатов УЦ.\r\n"
         "Для установки цепочки зайдите по адресу\r\nhttp://" VORSALT_CA_PAGE_HOST
         "/?Item=support&SubItem=certificates\r\n" +
             attempt + "0x2f0d"},
        {"secure failure", ERROR_WINHTTP_SECURE_FAILURE, 1, true, 12175, 1,
         "TWinHTTP: Ошибка при отправке запроса (SECURE_FAILURE).\r\nПопробуйте заново повторить операцию.\r\n" +
             attempt + "0x2f8f"},
        {"other error", ERROR_WINHTTP_TIMEOUT, 1, true, 7, 1,
         "TWinHTTP: Ошибка при отправке запроса.\r\n" + attempt + "0x2ee2"},
        // Certificate asked for and not set beforehand: one more send with the (null) certificate.
        {"certificate asked for once", ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED, 1, false, 7, 2,
         "TWinHTTP: Ошибка при отправке запроса.\r\n" + attempt + "0x2efd"},  // then the closed port
        {"certificate asked for again", ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED, 2, false, 8, 2,
         "TWinHTTP: Ошибка WINHTTP_QUERY_STATUS_CODE."},
        {"certificate set beforehand, no retry", ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED, 1, true, 8, 1,
         "TWinHTTP: Ошибка WINHTTP_QUERY_STATUS_CODE."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendError = c.error;
        FailingSends = c.failing;
        SendCalls = 0;
        TWinHTTP client(false);
        client.SetSendClientCert(c.sendClientCert);
        ConnectNowhere(client);
        client.SetTimeouts(2000);
        EXPECT_EQ(client.Request("/page.asp", VerbGet, nullptr, 0), c.result);
        EXPECT_EQ(SendCalls, c.sends);
        EXPECT_EQ(client.GetStatusCode(), 0);
        const std::string text = client.GetLastErrorText();
        EXPECT_TRUE(StartsWith(text, c.text)) << text;
        EXPECT_NE(text.find(" (127.0.0.1:page) so: "), std::string::npos) << text;
    }
}

TEST(WinHttpSeamDiscovery, RunsOnlyForAServerWhenTheUserSettingsCannotBeRead) {
    TSeamOverride<TWinHttpApi> seam;
    seam->WinHttpGetIEProxyConfigForCurrentUser = NoUserConfig;
    seam->WinHttpGetProxyForUrl = FakeDiscovery;
    DiscoveryCalls = 0;
    DiscoveryFails = false;
    TWinHTTP client(false);
    int type = -1;
    std::string proxy = "x", bypass = "y";
    // No server: nothing to discover for, the connection goes direct.
    EXPECT_EQ(client.GetProxyInfo(&type, &proxy, &bypass), 0);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(proxy, "");
    EXPECT_EQ(bypass, "");
    ConnectNowhere(client);  // the session opens without discovery
    EXPECT_EQ(DiscoveryCalls, 0);

    EXPECT_EQ(client.GetProxyInfo(&type, &proxy, &bypass), 0);
    EXPECT_EQ(DiscoveryCalls, 1);
    EXPECT_EQ(DiscoveryUrl, L"http://127.0.0.1");
    EXPECT_EQ(DiscoveryOptions.dwFlags, static_cast<DWORD>(WINHTTP_AUTOPROXY_AUTO_DETECT));
    EXPECT_EQ(DiscoveryOptions.dwAutoDetectFlags, 3u);
    EXPECT_TRUE(DiscoveryOptions.fAutoLogonIfChallenged);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(proxy, "found.proxy:3128");
    EXPECT_EQ(bypass, "");

    DiscoveryFails = true;
    type = -1;
    EXPECT_EQ(client.GetProxyInfo(&type, &proxy, &bypass), 3);
    EXPECT_EQ(type, -1);  // outputs untouched
    EXPECT_EQ(proxy, "found.proxy:3128");
    EXPECT_TRUE(StartsWith(client.GetLastErrorText(), "GetProxyInfo failed\r\nОшибка LE № 0x2f94"))
        << client.GetLastErrorText();
}
