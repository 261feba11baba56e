// A TCP listener on a loopback address that never accepts: connections complete in its backlog.
#pragma once
#include <winsock2.h>
#include <ws2tcpip.h>
#include <gtest/gtest.h>

class TLoopbackListener {
public:
    // Port 0 takes a free port.
    explicit TLoopbackListener(const char* address, int port = 0) {
        s_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<u_short>(port));
        inet_pton(AF_INET, address, &a.sin_addr);
        if (bind(s_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(s_, 8) != 0) {
            ADD_FAILURE() << "cannot listen on " << address << ":" << port << " error " << WSAGetLastError();
            return;
        }
        int len = sizeof a;
        getsockname(s_, reinterpret_cast<sockaddr*>(&a), &len);
        port_ = ntohs(a.sin_port);
    }
    ~TLoopbackListener() { Close(); }
    TLoopbackListener(const TLoopbackListener&) = delete;
    TLoopbackListener& operator=(const TLoopbackListener&) = delete;

    void Close() {
        if (s_ != INVALID_SOCKET)
            closesocket(s_);
        s_ = INVALID_SOCKET;
    }
    int Port() const { return port_; }

private:
    SOCKET s_ = INVALID_SOCKET;
    int port_ = 0;
};
