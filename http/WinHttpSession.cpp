// TWinHTTP: construction, the session with its proxy settings, and the connection.
#include "ClientStep.h"
#include "Conversions.h"
#include "Seam.h"
#include "WinHttpApi.h"
#include "class_http_winhttp.h"

BOOL TWinHttpHandleTraits::Close(Handle handle) {
    return WinHttpCloseHandle(handle);
}

namespace {
constexpr DWORD FlagRefresh = 0x00000100;  // WINHTTP_FLAG_REFRESH
constexpr DWORD FlagSecure = 0x00800000;   // WINHTTP_FLAG_SECURE

std::wstring TakeGlobalText(LPWSTR text) {
    const TGlobalBlock owned(text);
    return text != nullptr ? std::wstring(text) : std::wstring();
}

const wchar_t* NullWhenEmpty(const std::wstring& text) {
    return text.empty() ? nullptr : text.c_str();
}
}  // namespace

TWinHTTP::TWinHTTP(bool secureMode, int) : handles(new TInetHandles) {
    SetSecure(secureMode);
}

TWinHTTP::~TWinHTTP() {
    CloseHandles();
    ReleaseCertStore();
    if (progress != nullptr)
        progress->SetPosition(0);
}

void TWinHTTP::SetAgentName(std::string name) {
    agent = L"TWinHTTP_" + StringToWString(name);
}

bool TWinHTTP::SetTimeouts(int milliseconds) {
    DWORD value = static_cast<DWORD>(milliseconds);
    bool all = true;
    for (DWORD option : {WINHTTP_OPTION_CONNECT_TIMEOUT, WINHTTP_OPTION_RECEIVE_TIMEOUT, WINHTTP_OPTION_SEND_TIMEOUT})
        if (!Seam<TWinHttpApi>().WinHttpSetOption(handles->Session.Get(), option, &value, sizeof value))
            all = false;
    // Under Wine only the receive-response time-out (90 s by default) bounds the wait for the
    // response's head, where Windows applies the receive time-out too: it gets the same value, its
    // result not counted.
    Seam<TWinHttpApi>().WinHttpSetOption(handles->Session.Get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &value,
                                         sizeof value);
    return all;
}

int TWinHTTP::SetSecure(bool on) {
    if (on == secure)
        return 0;
    secure = on;
    if (on) {
        handles->Port = static_cast<unsigned short>(connectPort != 0 ? connectPort : INTERNET_DEFAULT_HTTPS_PORT);
        requestFlags |= FlagSecure;
    } else {
        handles->Port = static_cast<unsigned short>(connectPort != 0 ? connectPort : INTERNET_DEFAULT_HTTP_PORT);
        requestFlags = 0;
    }
    return Reconnect();
}

unsigned long TWinHTTP::GetIEProxySettings(const std::wstring& forServer, std::wstring* proxy, std::wstring* bypass,
                                           std::wstring* autoConfigUrl, bool* autoDetect) {
    const TWinHttpApi& api = Seam<TWinHttpApi>();
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
    if (api.WinHttpGetIEProxyConfigForCurrentUser(&config)) {
        const std::wstring list = TakeGlobalText(config.lpszProxy);
        const std::wstring bypassList = TakeGlobalText(config.lpszProxyBypass);
        const std::wstring url = TakeGlobalText(config.lpszAutoConfigUrl);
        if (proxy != nullptr && config.lpszProxy != nullptr)
            *proxy = list;
        if (bypass != nullptr && config.lpszProxyBypass != nullptr)
            *bypass = bypassList;
        if (autoConfigUrl != nullptr && config.lpszAutoConfigUrl != nullptr)
            *autoConfigUrl = url;
        if (autoDetect != nullptr && config.fAutoDetect)
            *autoDetect = true;
        return 0;
    }
    if (forServer.empty() || proxy == nullptr)
        return 0;
    TWinHttpHandle session(api.WinHttpOpen(L"WinHTTP AutoProxy/1.0", WINHTTP_ACCESS_TYPE_NO_PROXY,
                                           WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        return GetLastError();
    WINHTTP_AUTOPROXY_OPTIONS options{};
    options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    options.fAutoLogonIfChallenged = TRUE;
    WINHTTP_PROXY_INFO info{};
    const std::wstring url = L"http://" + forServer;
    DWORD result = 0;
    if (api.WinHttpGetProxyForUrl(session.Get(), url.c_str(), &options, &info)) {
        const std::wstring found = TakeGlobalText(info.lpszProxy);
        TakeGlobalText(info.lpszProxyBypass);
        if (info.lpszProxy != nullptr)
            *proxy = found;
    } else {
        result = GetLastError();
    }
    session.Close();
    SetLastError(result);  // the caller's text reports the discovery's error
    return result;
}

int TWinHTTP::GetProxyInfo(int* type, std::string* list, std::string* bypass) {
    errorText.clear();
    return GuardStep(&errorText, "GetProxyInfo failed", 3, false, [&] {
        std::wstring proxy, bypassList, url;
        bool autoDetect = false;
        if (GetIEProxySettings(server, &proxy, &bypassList, &url, &autoDetect) != 0) {
            LogOrStoreError(&errorText, "GetProxyInfo failed", 0, false, false);
            return 3;
        }
        if (type != nullptr)
            *type = autoDetect ? 8 : !proxy.empty() ? 2 : !url.empty() ? 4 : 1;
        if (list != nullptr)
            *list = WStringToString(proxy);
        if (bypass != nullptr)
            *bypass = WStringToString(bypassList);
        return 0;
    });
}

int TWinHTTP::OpenSession() {
    return GuardStep(&errorText, "TWinHTTP: Неизвестная ошибка при соединении с интернетом.", 3, true, [&] {
        CloseHandles();
        DWORD accessType = WINHTTP_ACCESS_TYPE_NO_PROXY;
        std::wstring proxy, bypass;
        if (useSystemProxy) {
            bool autoDetect = false;
            GetIEProxySettings(std::wstring(), &proxy, &bypass, nullptr, &autoDetect);
            if (!proxy.empty()) {
                accessType = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
            } else {
                accessType = WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
                bypass.clear();
            }
        } else {
            accessType = static_cast<DWORD>(proxyAccessType);
            proxy = StringToWString(proxyList);
            bypass = StringToWString(proxyBypass);
        }
        handles->Session.Reset(
            Seam<TWinHttpApi>().WinHttpOpen(agent.c_str(), accessType, NullWhenEmpty(proxy), NullWhenEmpty(bypass), 0));
        if (!handles->Session) {
            LogOrStoreError(&errorText, "TWinHTTP: WinHttpOpen failed.", 0, false, true);
            return 1;
        }
        return 0;
    });
}

int TWinHTTP::ConnectStep(const std::wstring& toServer, int port) {
    if (toServer.empty()) {
        errorText = "TWinHTTP: Сервер для подключения не задан!";
        return 1;
    }
    return GuardStep(&errorText, "TWinHTTP: Неизвестная ошибка при соединении с сервером.", 3, true, [&] {
        if (toServer == server && port == connectPort)
            return 0;
        if (OpenSession() != 0)
            return 1;
        const INTERNET_PORT target = static_cast<INTERNET_PORT>(port != 0 ? port : handles->Port);
        handles->Connection.Reset(
            Seam<TWinHttpApi>().WinHttpConnect(handles->Session.Get(), toServer.c_str(), target, 0));
        if (!handles->Connection) {
            LogOrStoreError(&errorText, "TWinHTTP: WinHttpConnect failed.", 0, false, true);
            return 2;
        }
        server = toServer;
        connectPort = port;
        return 0;
    });
}

int TWinHTTP::Connect(std::string toServer, int port) {
    return ConnectStep(StringToWString(toServer), port);
}

int TWinHTTP::Reconnect() {
    if (server.empty())
        return 0;
    const std::wstring copy = server;
    CloseHandles();
    return ConnectStep(copy, connectPort);
}

std::string TWinHTTP::GetServer() {
    return WStringToString(server);
}

void TWinHTTP::CloseRequest() {
    handles->Request.Close();
    objectPath.clear();
    clientCertApplied = false;
    CloseDownloadFile();
}

void TWinHTTP::CloseConnection() {
    CloseRequest();
    server.clear();
    clientCertApplied = false;
    handles->Connection.Close();
}

void TWinHTTP::CloseHandles() {
    CloseConnection();
    handles->Session.Close();
}
