// The WinHTTP calls of TWinHTTP that a test may replace (a seam, Seam.h): the ones whose failures
// Wine never produces (opening, connecting, the send errors, a refused client certificate) and
// the proxy lookups, which must not search the network in a test.
#pragma once
#include <windows.h>
#include <winhttp.h>

struct TWinHttpApi {
    // Wine's never fail.
    decltype(&::WinHttpOpen) WinHttpOpen;
    decltype(&::WinHttpConnect) WinHttpConnect;
    // Every certificate failure is 12157 under Wine; 12044, 12045 and 12175 come through here.
    decltype(&::WinHttpSendRequest) WinHttpSendRequest;
    // The options set; Wine's takes a client certificate on every secure request.
    decltype(&::WinHttpSetOption) WinHttpSetOption;
    // The user's settings exist or not as a test needs; discovery asks the network (DNS, DHCP).
    decltype(&::WinHttpGetIEProxyConfigForCurrentUser) WinHttpGetIEProxyConfigForCurrentUser;
    decltype(&::WinHttpGetProxyForUrl) WinHttpGetProxyForUrl;

    static TWinHttpApi Real();
};
