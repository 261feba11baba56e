// The socket calls of the port check whose failures Wine cannot produce (a seam, Seam.h).
#pragma once
#include <winsock2.h>

struct TSocketApi {
    // The sockets library does not start.
    decltype(&::WSAStartup) WSAStartup;
    // No socket for some or all of the addresses.
    decltype(&::socket) socket;

    static TSocketApi Real();
};
