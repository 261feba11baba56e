#include "WinHttpApi.h"

TWinHttpApi TWinHttpApi::Real() {
    return {::WinHttpOpen, ::WinHttpConnect, ::WinHttpSendRequest, ::WinHttpGetIEProxyConfigForCurrentUser,
            ::WinHttpGetProxyForUrl};
}
