// The request of the time-stamp or OCSP client posted with the program's own HTTP client instead
// of the automation object's send.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>

struct TManualPost {
    const char* contentType;  // "application/timestamp-query", "application/ocsp-request"
    const char* tryLine;      // the debug line before the client is made
    const char* failureLine;  // the debug line, followed by the client's error text, of a failed request
};

// POST of the request to the address (split by SplitUrl; a port stays in the host text). True
// with the answer's bytes exactly as received; false when the address cannot be split or the
// host does not connect (no debug line), or when the request failed.
bool PostManually(BSTR address, const std::string& request, const TManualPost& post, std::string& answer);

// Milliseconds since start, modulo 2^32, in decimal.
std::string TicksSince(DWORD start);
