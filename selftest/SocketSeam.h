// The socket calls whose failures the platform under test cannot produce; real ones by default.
#pragma once
#include <winsock2.h>

struct SocketSeam {
    int(WSAAPI* startup)(WORD version, LPWSADATA data);
    SOCKET(WSAAPI* createSocket)(int family, int type, int protocol);
};

SocketSeam& CheckConnectSeam();
