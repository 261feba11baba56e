#include "WinHttpApi.h"

TWinHttpApi DefaultWinHttpApi() {
    return TWinHttpApi{WinHttpOpen, WinHttpConnect, WinHttpSendRequest, WinHttpGetIEProxyConfigForCurrentUser,
                       WinHttpGetProxyForUrl};
}

TWinHttpApi& WinHttpApi() {
    static TWinHttpApi api = DefaultWinHttpApi();
    return api;
}
