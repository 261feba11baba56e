// THTTP: construction, the session, the connection and the plain settings.
#include "class_http_wininet.h"
#include "ClientStep.h"
#include "ErrorText.h"
#include "Seam.h"
#include "WinInetApi.h"

BOOL TWinInetHandleTraits::Close(Handle handle) {
    return InternetCloseHandle(handle);
}

THTTP::THTTP(bool secureMode, int resume) : resumeOffset(resume) {
    SetSecure(secureMode);
}

THTTP::~THTTP() {
    CloseHandles();
    if (progress != nullptr)
        progress->SetPosition(0);
    ReleaseCertStore();
}

void THTTP::CloseRequest() {
    request.Close();
    objectPath.clear();
    CloseDownloadFile();
}

void THTTP::CloseConnection() {
    CloseRequest();
    server.clear();
    connection.Close();
}

void THTTP::CloseHandles() {
    CloseConnection();
    session.Close();
}

int THTTP::OpenSession() {
    return GuardStep(&errorText, "THTTP: Неизвестная ошибка при соединеmии с интернетом.", 3, false, [&] {
        CloseHandles();
        session.Reset(
            Seam<TWinInetApi>().InternetOpenA(agentName.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        if (!session) {
            LogOrStoreError(&errorText, "THTTP: InternetOpen failed.");
            return 1;
        }
        if (!useSystemProxy) {
            INTERNET_PROXY_INFO proxy{};
            proxy.dwAccessType = INTERNET_OPEN_TYPE_DIRECT;
            if (!proxyList.empty()) {
                proxy.dwAccessType = INTERNET_OPEN_TYPE_PROXY;
                proxy.lpszProxy = proxyList.c_str();
                proxy.lpszProxyBypass = proxyBypass.c_str();
            }
            if (!Seam<TWinInetApi>().InternetSetOptionA(nullptr, INTERNET_OPTION_PROXY, &proxy, sizeof proxy)) {
                LogOrStoreError(&errorText, "THTTP: Set INTERNET_OPTION_PROXY failed!");
                return 2;
            }
        }
        if (!Seam<TWinInetApi>().InternetGetConnectedState(&connectedState, 0)) {
            if (connectedState & INTERNET_CONNECTION_MODEM) {
                DWORD dialed = 0;
                if (Seam<TWinInetApi>().InternetDialA(nullptr, nullptr, 0, &dialed, 0) != 0) {
                    LogOrStoreError(&errorText, "THTTP: Internet Attempt Connect failed. Can't establish connection.");
                    return 2;
                }
            } else {
                offline = true;
            }
        }
        return 0;
    });
}

int THTTP::Connect(std::string newServer, int newPort) {
    return GuardStep(&errorText, "THTTP: Неизвестная ошибка при сnединении с сервером.", 3, false, [&] {
        if (newServer == server)
            return 0;
        if (OpenSession() != 0)
            return 1;
        const auto at = static_cast<INTERNET_PORT>(newPort == 0 ? port : newPort);
        connection.Reset(Seam<TWinInetApi>().InternetConnectA(session.Get(), newServer.c_str(), at, nullptr, nullptr,
                                                              INTERNET_SERVICE_HTTP, 0, 1));
        if (!connection) {
            LogOrStoreError(&errorText, "THTTP: InternetConnect failed.");
            return 2;
        }
        server = newServer;
        return 0;
    });
}

int THTTP::Reconnect() {
    const std::string current = server;
    CloseHandles();
    return Connect(current, 0);
}

int THTTP::SetSecure(bool secureMode) {
    if (secureMode == secure)
        return 0;
    secure = secureMode;
    if (secure) {
        port = INTERNET_DEFAULT_HTTPS_PORT;
        requestFlags |= THttpSecureFlag;
    } else {
        port = INTERNET_DEFAULT_HTTP_PORT;
        requestFlags = 0;
    }
    return Reconnect();
}

bool THTTP::SetTimeouts(int milliseconds) {
    DWORD value = static_cast<DWORD>(milliseconds);
    bool all = true;
    auto setOn = [&](HINTERNET handle) {
        for (DWORD option :
             {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT})
            all = Seam<TWinInetApi>().InternetSetOptionA(handle, option, &value, sizeof value) && all;
    };
    setOn(session.Get());
    // A handle takes its parent's time-outs when it is made (Wine's connection and request do), and
    // the connection was made before: it gets them as well, for the requests opened on it later.
    if (connection)
        setOn(connection.Get());
    return all;
}

void THTTP::SetAgentName(std::string name) {
    agentName = "THTTP" + name;
}
std::string THTTP::GetServer() {
    return server;
}
