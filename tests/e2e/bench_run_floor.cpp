// The wire floor of a healthy run: the connections and requests that Vorsalt.exe's run makes to the
// demo's stand-ins (as their logs show them), made directly with Winsock and WinHTTP in the same
// order, with nothing else. Prints the milliseconds from the first connection to the last reply,
// or a line saying which request failed (exit status 1). bench_run starts it; not a test.
#include "Endpoints.h"
#include "HttpOwned.h"
#include "SocketOwned.h"
#include <winhttp.h>
#include <cstdio>
#include <string>

namespace {

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// The port checks: a TCP connection from any local address, closed at once.
bool ConnectPort(const char* host, const char* port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    TAddressList list;
    if (getaddrinfo(host, port, &hints, list.Receive()) != 0)
        return false;
    const addrinfo* first = list.Get();
    const TSocket sock(socket(first->ai_family, first->ai_socktype, first->ai_protocol));
    sockaddr_in any{};
    any.sin_family = AF_INET;
    return sock && bind(sock.Get(), reinterpret_cast<sockaddr*>(&any), sizeof any) == 0 &&
           connect(sock.Get(), first->ai_addr, static_cast<int>(first->ai_addrlen)) == 0;
}

struct TRequest {
    const char* host;
    INTERNET_PORT port;
    bool secure;
    const wchar_t* verb;
    const char* path;
    const wchar_t* headers;
    std::string body;
};

// Sends the request over the session and reads the whole reply: its status, 0 when none came.
DWORD Exchange(HINTERNET session, const TRequest& r) {
    const TWinHttpHandle connection(WinHttpConnect(session, Wide(r.host).c_str(), r.port, 0));
    const TWinHttpHandle request(
        connection ? WinHttpOpenRequest(connection.Get(), r.verb, Wide(r.path).c_str(), nullptr, WINHTTP_NO_REFERER,
                                        WINHTTP_DEFAULT_ACCEPT_TYPES, r.secure ? WINHTTP_FLAG_SECURE : 0)
                   : nullptr);
    if (!request)
        return 0;
    DWORD flags = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                  SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE;
    if (r.secure)
        WinHttpSetOption(request.Get(), WINHTTP_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
    const DWORD length = static_cast<DWORD>(r.body.size());
    if (!WinHttpSendRequest(request.Get(), r.headers ? r.headers : WINHTTP_NO_ADDITIONAL_HEADERS,
                            r.headers ? static_cast<DWORD>(-1) : 0, const_cast<char*>(r.body.data()), length, length,
                            0) ||
        !WinHttpReceiveResponse(request.Get(), nullptr))
        return 0;
    DWORD status = 0, size = sizeof status;
    WinHttpQueryHeaders(request.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
    char chunk[8192];
    DWORD read = 0;
    while (WinHttpReadData(request.Get(), chunk, sizeof chunk, &read) && read > 0) {
    }
    return status;
}

HINTERNET Session(const wchar_t* agent) {
    return WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

}  // namespace

int main() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    const char* const service = VORSALT_SERVICE_HOST;
    const wchar_t* const form = L"Content-Type: application/x-www-form-urlencoded\r\n";
    // The chain from the CA's web site, then its CRL from each distribution point of the
    // intermediate certificate until one answers (the first three have no server: refused).
    const TRequest chain = {VORSALT_CA_WEB_HOST, 80, false, L"GET", "/aca/rootca3.p7b", nullptr, ""};
    const TRequest crls[] = {
        {"crl-a.vorsalt.test", 80, false, L"GET", "/cdp/root3.crl", nullptr, ""},
        {"crl-b.vorsalt.test", 80, false, L"GET", "/cdp/root3.crl", nullptr, ""},
        {"crl-c.vorsalt.test", 80, false, L"GET", "/cdp/root3.crl", nullptr, ""},
        {"pki-ca.vorsalt.test", 80, false, L"GET", "/cdp/root3.crl", nullptr, ""},
    };
    // The SSL check, the service and the training complex over one session.
    const TRequest serviceRequests[] = {
        {service, 443, true, L"GET", "//", form, ""},
        {service, 443, true, L"POST", "/lumweb/check", form, ""},
        {VORSALT_TRAINING_HOST, 443, true, L"POST", "/lumweb/check", form, ""},
    };
    // The service library: a session of its own for each call.
    const wchar_t* const text = L"Content-Type: text/plain\r\n";
    const TRequest library[] = {
        {service, 443, true, L"POST", "/lumclient/enchance", text,
         "kind=4;data=31323334353637383930\r\nkind=2;data=\r\n"},
        {service, 443, true, L"POST", "/lumclient/authentificate", text, "mode=1;second=1"},
    };
    const TRequest gateway = {"127.0.0.1", 8088, false, L"POST", "/", L"X-Operation: ping\r\n", ""};

    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const char* failed = nullptr;
    if (!ConnectPort(service, "80") || !ConnectPort(service, "443"))
        failed = "a port check";
    {
        const TWinHttpHandle session(Session(L"TWinHTTP"));
        if (!failed && Exchange(session.Get(), chain) != 200)
            failed = chain.path;
    }
    {
        const TWinHttpHandle session(Session(L"TWinHTTP"));
        DWORD status = 0;
        for (const TRequest& crl : crls)
            if (!failed && status != 200)
                status = Exchange(session.Get(), crl);
        if (!failed && status != 200)
            failed = "the CRL";
    }
    {
        const TWinHttpHandle session(Session(L"TWinHTTP"));
        for (const TRequest& r : serviceRequests)
            if (!failed && Exchange(session.Get(), r) != 200)
                failed = r.path;
    }
    for (const TRequest& r : library) {
        const TWinHttpHandle session(Session(L"LUMCLIENT"));
        if (!failed && Exchange(session.Get(), r) != 200)
            failed = r.path;
    }
    {
        const TWinHttpHandle session(Session(L"TWinHTTP"));
        if (!failed && Exchange(session.Get(), gateway) != 200)
            failed = "the gateway ping";
    }
    QueryPerformanceCounter(&end);
    WSACleanup();
    if (failed) {
        std::printf("floor: %s failed\n", failed);
        return 1;
    }
    std::printf("%.1f\n", Milliseconds(start, end));
    return 0;
}
