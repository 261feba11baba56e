// The library's way to the service: one HTTPS POST to the service host over WinHTTP, without a
// proxy. The host is "address" or "address:port" (443 by default). The server's certificate is not
// judged: the service host's stand-in has a test certificate.
#pragma once
#include <windows.h>
#include <string>

struct ServiceReply {
    DWORD error = 0;   // WinHTTP's error when no reply came
    DWORD status = 0;  // the HTTP status
    std::string body;  // at most MaxServiceReply bytes
};

constexpr size_t MaxServiceReply = 64 * 1024;

ServiceReply PostToService(const std::string& host, const std::string& path, const std::string& body);
