#include "Seam.h"
#include "SocketApi.h"
#include "SocketOwned.h"
#include "Tests.h"
#include <sstream>

TSocketApi TSocketApi::Real() {
    return {::WSAStartup, ::socket};
}

namespace {

// The system's text of a resolution error, on one line.
std::string ResolutionErrorText(int code) {
    char text[1024] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK, nullptr,
                   code, LANG_USER_DEFAULT, text, sizeof text, nullptr);
    return text;
}

class Sockets {
public:
    explicit Sockets(bool started) : started_(started) {}
    ~Sockets() {
        if (started_)
            WSACleanup();
    }
    Sockets(const Sockets&) = delete;
    Sockets& operator=(const Sockets&) = delete;

private:
    bool started_;
};

}  // namespace

int CheckConnect(const std::string& host, int port, std::string& info) {
    std::ostringstream words;
    int result = 0;
    int socketError = 0;
    {
        WSADATA data;
        const bool started = Seam<TSocketApi>().WSAStartup(MAKEWORD(2, 2), &data) == 0;
        if (!started)
            socketError = WSAGetLastError();
        Sockets library(started);
        if (!started) {
            words << "Error at WSAStartup()";
            result = 1;
        } else {
            addrinfo hints{};
            hints.ai_family = AF_UNSPEC;
            hints.ai_socktype = SOCK_STREAM;
            TAddressList addresses;
            result = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, addresses.Receive());
            if (result != 0) {
                socketError = WSAGetLastError();
                words << "getaddrinfo: s\n" << ResolutionErrorText(result);
                result = 1;
            } else {
                bool madeSocket = false;
                for (addrinfo* a = addresses.Get(); a; a = a->ai_next) {
                    const TSocket sock(
                        Seam<TSocketApi>().socket(a->ai_family, a->ai_socktype, a->ai_protocol));
                    if (!sock) {
                        socketError = WSAGetLastError();
                        continue;
                    }
                    madeSocket = true;
                    sockaddr_in any{};
                    any.sin_family = AF_INET;
                    any.sin_addr.s_addr = htonl(INADDR_ANY);
                    if (bind(sock.Get(), reinterpret_cast<sockaddr*>(&any), sizeof any) == SOCKET_ERROR) {
                        socketError = WSAGetLastError();
                        words << "Socket bind error";
                        result = 2;
                        break;
                    }
                    if (connect(sock.Get(), a->ai_addr, static_cast<int>(a->ai_addrlen)) == SOCKET_ERROR) {
                        socketError = WSAGetLastError();
                        words << "Failed to connect.";
                        result = 3;
                        break;
                    }
                    result = 0;
                }
                // Without a single socket nothing was tried: that is no pass.
                if (!madeSocket) {
                    words << "Socket create error";
                    result = 100;
                }
            }
        }
    }
    if (result != 0) {
        words << "\r\nError code: " << socketError;
        info = words.str();
    }
    return result;
}
