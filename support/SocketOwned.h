// Owners (Owned.h) for Winsock's sockets and getaddrinfo's address lists.
#pragma once
#include "Owned.h"
#include <winsock2.h>
#include <ws2tcpip.h>

struct TSocketTraits : TOwnedTraits<SOCKET, int, 0> {
    static Handle Empty() { return INVALID_SOCKET; }
    static int Close(Handle s) { return closesocket(s); }
};
using TSocket = TOwned<TSocketTraits>;

struct TAddressListTraits : TOwnedTraits<addrinfo*, bool, true> {
    static bool Close(Handle list) {
        freeaddrinfo(list);
        return true;
    }
};
using TAddressList = TOwned<TAddressListTraits>;
