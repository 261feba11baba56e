// Reading the test peer's log: one JSON object a line; the texts are the bytes as received.
#pragma once
#include <string>
#include <utility>
#include <vector>

struct TPeerRequest {
    std::string Peer;    // the name of the peer that logged it
    double Time = 0;     // when the peer logged it, in seconds since the epoch
    int Connection = 0;  // the peer's number of the connection it came on
    bool Tls = false;
    std::string ClientCert;  // common name of the client certificate, "" without one
    std::string Head;        // request line and header lines, CR LF included, as sent
    std::string RequestLine;
    std::string Method;
    std::string Target;
    std::string Version;
    std::vector<std::pair<std::string, std::string>> Headers;
    std::string Body;

    // The first header of that name (any case); "" when absent.
    std::string Header(const std::string& name) const;
    bool HasHeader(const std::string& name) const;
};

struct TPeerEvent {
    std::string Event;   // "request", "tls_error" or "tunnel"
    std::string Detail;  // tls_error: the error; tunnel: target and result
    TPeerRequest Request;
};

// Lines that are not valid log objects are skipped.
std::vector<TPeerEvent> ParsePeerLog(const std::string& text);
