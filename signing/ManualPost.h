// The two ways a request of the time-stamp or OCSP client goes out: posted with the program's own
// HTTP client, or by the automation object's own Send.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>
#include "IDispatchLib.h"

struct TManualPost {
    const char* contentType;  // "application/timestamp-query", "application/ocsp-request"
    const char* tryLine;      // the debug line before the client is made
    const char* failureLine;  // the debug line, followed by the client's error text, of a failed request
    const wchar_t* answerProgId;  // "TSPCOM.TSPStamp", "OCSPCOM.OCSPResponse"
};

// POST of the request to the address (split by SplitUrl; a port stays in the host text). True
// with the answer's bytes exactly as received; false when the address cannot be split or the
// host does not connect (no debug line), or when the request failed.
bool PostManually(BSTR address, const std::string& request, const TManualPost& post, std::string& answer);

// The request object's "Export" posted by PostManually: true with the answer's bytes in answer,
// imported into a new object of post.answerProgId in answerObject; false, answerObject left as
// it was, when the post failed. Raises TError.
bool PostAndImport(TMyComPtr& request, BSTR address, const TManualPost& post, TMyComPtr& answerObject,
                   std::string& answer);

// The request object's own "Send" with its one argument; the answer object it returns goes into
// answerObject (none for a failed request). Raises TError.
void SendByObject(TMyComPtr& request, const Variant& argument, TMyComPtr& answerObject);

// The bytes given to the object's "Import". Raises TError.
void ImportBytes(TMyComPtr& object, const std::string& bytes);

// Milliseconds since start, modulo 2^32, in decimal.
std::string TicksSince(DWORD start);
