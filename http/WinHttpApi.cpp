#include "WinHttpApi.h"

TWinHttpApi TWinHttpApi::Real() {
    return {::WinHttpOpen,
            ::WinHttpConnect,
            ::WinHttpSendRequest,
            ::WinHttpSetOption,
            ::WinHttpGetIEProxyConfigForCurrentUser,
            ::WinHttpGetProxyForUrl};
}
