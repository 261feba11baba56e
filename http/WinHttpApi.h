// The WinHTTP calls of TWinHTTP that a test may replace: the ones whose failures Wine never
// produces (opening, connecting, the send errors) and the proxy lookups, which must not search
// the network in a test. Everything defaults to winhttp.dll.
#pragma once
#include <windows.h>
#include <winhttp.h>

struct TWinHttpApi {
    HINTERNET(WINAPI* Open)(LPCWSTR agent, DWORD accessType, LPCWSTR proxy, LPCWSTR bypass, DWORD flags);
    HINTERNET(WINAPI* Connect)(HINTERNET session, LPCWSTR server, INTERNET_PORT port, DWORD reserved);
    BOOL(WINAPI* SendRequest)
    (HINTERNET request, LPCWSTR headers, DWORD headersLength, LPVOID data, DWORD dataLength, DWORD totalLength,
     DWORD_PTR context);
    BOOL(WINAPI* GetIEProxyConfigForCurrentUser)(WINHTTP_CURRENT_USER_IE_PROXY_CONFIG* config);
    BOOL(WINAPI* GetProxyForUrl)
    (HINTERNET session, LPCWSTR url, WINHTTP_AUTOPROXY_OPTIONS* options, WINHTTP_PROXY_INFO* info);
};

// The table in use; a test puts its own entries in and restores the defaults afterwards.
TWinHttpApi& WinHttpApi();
TWinHttpApi DefaultWinHttpApi();
