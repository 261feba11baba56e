// One exchange with a listener on a loopback address, over Winsock (started by the caller).
#pragma once
#include "SocketOwned.h"
#include <string>

// Connects to host:port and, when text is not empty, sends it and reads until the listener
// closes; whether the connection was accepted.
inline bool SendToListener(const char* host, int port, const std::string& text) {
    const TSocket sock(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!sock)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = inet_addr(host);
    if (connect(sock.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return false;
    if (!text.empty()) {
        send(sock.Get(), text.data(), static_cast<int>(text.size()), 0);
        char buffer[512];
        while (recv(sock.Get(), buffer, sizeof buffer, 0) > 0) {
        }
    }
    return true;
}
