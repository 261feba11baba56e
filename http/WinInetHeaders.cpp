// THTTP: response headers, the error text for callers, the server certificate and the proxy
// settings of the system.
#include <algorithm>
#include <cstring>
#include "class_http_wininet.h"
#include "ClientStep.h"
#include "LocalFree.h"
#include "StringHelpers.h"
#include "Seam.h"
#include "WinInetApi.h"

namespace {
// A zero-filled block of `size` bytes that starts with the header name, as the custom query takes it.
char* NameBlock(const std::string& name, size_t size) {
    auto* block = static_cast<char*>(LocalAlloc(LPTR, size));
    if (block != nullptr)
        std::memcpy(block, name.data(), std::min(name.size(), size - 1));
    return block;
}
}  // namespace

int THTTP::GetHeaderByName(std::string name, std::string* value) {
    std::string found;
    const int result = GuardStep(&errorText, "THTTP: GetHeaderByName. LocalAlloc failed", 4, false, [&] {
        DWORD length = static_cast<DWORD>(name.size());
        DWORD index = 0;
        TLocalFree<char> block(NameBlock(name, name.size() + 2));
        if (block.Get() == nullptr) {
            LogOrStoreError(&errorText, "THTTP: GetHeaderByName. LocalAlloc failed");
            return 4;
        }
        if (Seam<TWinInetApi>().HttpQueryInfoA(request.Get(), HTTP_QUERY_CUSTOM, block.Get(), &length, &index)) {
            found = block.Get();
            return 0;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_HTTP_HEADER_NOT_FOUND)
            return 0;
        if (error != ERROR_INSUFFICIENT_BUFFER) {
            LogOrStoreError(&errorText, "THTTP: Ошибка запроса размeра заголовка HTTP", static_cast<int>(error));
            return 1;
        }
        block.Reset(NameBlock(name, std::max<size_t>(name.size() + 1, static_cast<size_t>(length) + 1)));
        if (block.Get() == nullptr) {
            LogOrStoreError(&errorText, "THTTP: GetHeaderByName. LocalAlloc failed");
            return 4;
        }
        if (!Seam<TWinInetApi>().HttpQueryInfoA(request.Get(), HTTP_QUERY_CUSTOM, block.Get(), &length, &index)) {
            LogOrStoreError(&errorText, "THTTP: Ошибка запроса заcоловка HTTP");
            return 4;
        }
        found = block.Get();
        return 0;
    });
    if (value != nullptr)
        *value = found;
    return result;
}

int THTTP::QueryExtendedError() {
    try {
        socketError = 0;
        if (!session)
            return 1;
        DWORD size = sizeof socketError;
        return Seam<TWinInetApi>().InternetQueryOptionA(session.Get(), INTERNET_OPTION_EXTENDED_ERROR, &socketError,
                                                        &size)
                   ? 0
                   : 2;
    } catch (...) {
        return 3;
    }
}

std::string THTTP::GetLastErrorText() {
    try {
        std::string text = errorText + ErrorTextLocation(server, objectPath);
        if (offline)
            text += "; ConnectionState: " + IntToHexStdString(static_cast<int>(connectedState));
        if (QueryExtendedError() == 0)
            text += "; SocketError: " + IntToHexStdString(static_cast<int>(socketError));
        return text;
    } catch (...) {
        return std::string();
    }
}

int THTTP::GetProxyInfo(int* type, std::string* list, std::string* bypass) {
    return GuardStep(&errorText, "GetProxyInfo failed", 3, false, [&] {
        INTERNET_PER_CONN_OPTIONA options[5] = {};
        options[0].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
        options[1].dwOption = INTERNET_PER_CONN_AUTODISCOVERY_FLAGS;
        options[2].dwOption = INTERNET_PER_CONN_FLAGS;
        options[3].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
        options[4].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
        INTERNET_PER_CONN_OPTION_LISTA query{};
        query.dwSize = sizeof query;
        query.dwOptionCount = 5;
        query.pOptions = options;
        DWORD size = sizeof query;
        if (!Seam<TWinInetApi>().InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &query, &size)) {
            LogOrStoreError(&errorText, "GetProxyInfo failed");
            return 2;
        }
        const DWORD flags = options[2].Value.dwValue;
        if (flags != 0 && type != nullptr)
            *type = static_cast<int>(flags);
        const TGlobalBlock autoConfigUrl(options[0].Value.pszValue);  // asked for, not reported
        const TGlobalBlock bypassText(options[3].Value.pszValue);
        const TGlobalBlock proxyText(options[4].Value.pszValue);
        if (bypass != nullptr && bypassText)
            *bypass = options[3].Value.pszValue;
        if (list != nullptr && proxyText)
            *list = options[4].Value.pszValue;
        return 0;
    });
}
