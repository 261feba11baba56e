#include "WinInetApi.h"

TWinInetApi TWinInetApi::Real() {
    return {::InternetOpenA,        ::InternetConnectA,          ::InternetSetOptionA,
            ::InternetQueryOptionA, ::InternetGetConnectedState, ::InternetDialA,
            ::HttpOpenRequestA,     ::HttpSendRequestA,          ::HttpQueryInfoA,
            ::InternetReadFile,     ::InternetSetFilePointer,    ::InternetErrorDlg};
}
