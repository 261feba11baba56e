#include "WinInetApi.h"

const TWinInetApi RealWinInet = {
    ::InternetOpenA,      ::InternetConnectA,     ::InternetCloseHandle,
    ::InternetSetOptionA, ::InternetQueryOptionA, ::InternetGetConnectedState,
    ::InternetDialA,      ::HttpOpenRequestA,     ::HttpSendRequestA,
    ::HttpQueryInfoA,     ::InternetReadFile,     ::InternetSetFilePointer,
    ::InternetErrorDlg,
};

TWinInetApi WinInet = RealWinInet;
