// The WinINet calls of THTTP that a test may replace (a seam, Seam.h): the failures and answers
// that Wine's WinINet does not give on demand, and what a test must watch THTTP hand over.
#pragma once
#include <windows.h>
#include <wininet.h>

struct TWinInetApi {
    // Opening and connecting never fail against Wine's WinINet.
    decltype(&::InternetOpenA) InternetOpenA;
    decltype(&::InternetConnectA) InternetConnectA;
    // The options set (time-outs, proxy, credentials, client certificate), and a refused proxy.
    decltype(&::InternetSetOptionA) InternetSetOptionA;
    // The server certificate record, the extended socket error and the user's proxy settings.
    decltype(&::InternetQueryOptionA) InternetQueryOptionA;
    // Offline and modem states, and a failing dial.
    decltype(&::InternetGetConnectedState) InternetGetConnectedState;
    decltype(&::InternetDialA) InternetDialA;
    decltype(&::HttpOpenRequestA) HttpOpenRequestA;
    // The send errors: a client certificate asked for, an unknown CA, a connection refused.
    decltype(&::HttpSendRequestA) HttpSendRequestA;
    // An unreadable status.
    decltype(&::HttpQueryInfoA) HttpQueryInfoA;
    // A failing read in the middle of a body.
    decltype(&::InternetReadFile) InternetReadFile;
    // Wine's always fails (12016): the length of a resumed download is reached through it.
    decltype(&::InternetSetFilePointer) InternetSetFilePointer;
    // The error dialogs: Wine shows them under Xvfb and answers 0xFFFFFFFF without a display.
    decltype(&::InternetErrorDlg) InternetErrorDlg;

    static TWinInetApi Real();
};
