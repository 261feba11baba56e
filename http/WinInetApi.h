// The WinINet calls of THTTP, through a table that defaults to the real functions; tests put
// in failures that the platform cannot produce here.
#pragma once
#include <windows.h>
#include <wininet.h>

struct TWinInetApi {
    decltype(&::InternetOpenA) InternetOpenA;
    decltype(&::InternetConnectA) InternetConnectA;
    decltype(&::InternetCloseHandle) InternetCloseHandle;
    decltype(&::InternetSetOptionA) InternetSetOptionA;
    decltype(&::InternetQueryOptionA) InternetQueryOptionA;
    decltype(&::InternetGetConnectedState) InternetGetConnectedState;
    decltype(&::InternetDialA) InternetDialA;
    decltype(&::HttpOpenRequestA) HttpOpenRequestA;
    decltype(&::HttpSendRequestA) HttpSendRequestA;
    decltype(&::HttpQueryInfoA) HttpQueryInfoA;
    decltype(&::InternetReadFile) InternetReadFile;
    decltype(&::InternetSetFilePointer) InternetSetFilePointer;
    decltype(&::InternetErrorDlg) InternetErrorDlg;
};

// The table every THTTP calls through.
extern TWinInetApi WinInet;
// The real functions.
extern const TWinInetApi RealWinInet;
