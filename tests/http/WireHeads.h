// The whole request head that a client sends through Wine's HTTP stack, byte for byte: the
// request line, then the headers in the order the stack writes them. The client gives the
// method, the path, the agent and its own header lines; the stack adds Accept, Host, the length,
// Connection and its no-cache headers, in an order of its own (marked: Windows' own order is not
// known here, so the heads are checked under Wine only). Also the
// multipart upload of a file as it goes on the wire.
#pragma once
#include <string>
#include "WineBehaviour.h"

enum class THttpStack { WinInet, WinHttp };

// clientHeaders: the client's own header lines, separated by CR LF. The length goes out unless a
// GET has no body.
inline TExpected<std::string> ExpectedHead(THttpStack stack, const std::string& method, const std::string& path,
                                           const std::string& hostAndPort, const std::string& agent,
                                           const std::string& clientHeaders, const std::string& body) {
    const std::string length = method == "GET" && body.empty()
                                   ? ""
                                   : "Content-Length: " + std::to_string(body.size()) + "\r\n";
    const std::string line = method + " " + path + " HTTP/1.1\r\n";
    const std::string own = clientHeaders.empty() ? "" : clientHeaders + "\r\n";
    if (stack == THttpStack::WinInet)
        return line + "Accept: */*\r\nHost: " + hostAndPort + "\r\n" + length + "User-Agent: " + agent +
               WineOnly("\r\nPragma: no-cache\r\n", "WinINet's headers and their order") + own +
               "Connection: Keep-Alive\r\n\r\n";
    return line + "Accept: */*\r\nUser-Agent: " + agent + "\r\nHost: " + hostAndPort + "\r\n" + length +
           WineOnly("Connection: Keep-Alive\r\nPragma: no-cache\r\nCache-Control: no-cache\r\n",
                    "WinHTTP's headers and their order") +
           own + "\r\n";
}

inline std::string HostAndPort(const std::string& host, int port) {
    return host + ":" + std::to_string(port);
}

const std::string WireBoundary = "---------------------------7d93c227108c8";
// The header line that announces a multipart upload.
const std::string WireMultipartHeader = "Content-type: multipart/form-data, boundary=" + WireBoundary;
// The body of the upload of a file with that name and content.
inline std::string WireMultipartBody(const std::string& fileName, const std::string& content) {
    return "--" + WireBoundary + "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"" + fileName +
           "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + content + "\r\n--" + WireBoundary + "--";
}
