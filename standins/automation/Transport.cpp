#include "Transport.h"
#include "Failure.h"
#include <winhttp.h>
#include <vector>

namespace {
struct TInternet {
    HINTERNET handle;
    ~TInternet() {
        if (handle)
            WinHttpCloseHandle(handle);
    }
};

[[noreturn]] void Fail(const wchar_t* what) {
    throw TMemberFailure{HRESULT_FROM_WIN32(GetLastError()), std::wstring(L"Ошибка отправки запроса: ") + what};
}
}  // namespace

THttpAnswer PostRequest(const std::wstring& url, const wchar_t* contentType, const std::string& body,
                        const wchar_t* agent) {
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    wchar_t host[256] = {}, path[2048] = {};
    parts.lpszHostName = host;
    parts.dwHostNameLength = 256;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 2048;
    if (url.empty() || !WinHttpCrackUrl(url.c_str(), 0, 0, &parts))
        throw TMemberFailure{E_INVALIDARG, L"Адрес службы не задан или неверен: " + url};
    const TInternet session{WinHttpOpen(agent, WINHTTP_ACCESS_TYPE_NO_PROXY,
                                        WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)};
    if (!session.handle)
        Fail(L"WinHttpOpen");
    const TInternet connection{WinHttpConnect(session.handle, host, parts.nPort, 0)};
    if (!connection.handle)
        Fail(L"WinHttpConnect");
    const TInternet request{WinHttpOpenRequest(connection.handle, L"POST", path, nullptr, WINHTTP_NO_REFERER,
                                               WINHTTP_DEFAULT_ACCEPT_TYPES,
                                               parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0)};
    if (!request.handle)
        Fail(L"WinHttpOpenRequest");
    const std::wstring header = std::wstring(L"Content-Type: ") + contentType;
    if (!WinHttpSendRequest(request.handle, header.c_str(), static_cast<DWORD>(-1), const_cast<char*>(body.data()),
                            static_cast<DWORD>(body.size()), static_cast<DWORD>(body.size()), 0) ||
        !WinHttpReceiveResponse(request.handle, nullptr))
        Fail(L"WinHttpSendRequest");
    THttpAnswer answer;
    DWORD size = sizeof answer.status;
    if (!WinHttpQueryHeaders(request.handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, nullptr,
                             &answer.status, &size, nullptr))
        Fail(L"WinHttpQueryHeaders");
    std::vector<char> buffer(65536);
    for (;;) {
        DWORD read = 0;
        if (!WinHttpReadData(request.handle, buffer.data(), static_cast<DWORD>(buffer.size()), &read))
            Fail(L"WinHttpReadData");
        if (read == 0)
            break;
        answer.body.append(buffer.data(), read);
    }
    return answer;
}
