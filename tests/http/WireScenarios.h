// Wire scenarios that both HTTP clients must pass alike: the request a test sends, the peer's
// scripted reply, and the status and body the client must report. The error texts differ by
// client; each client's test keeps its own table of them by scenario name.
#pragma once
#include <string>
#include "TestPeer.h"
#include "TextChecks.h"
#include "WineBehaviour.h"
#include "class_http.h"

struct TWireScenario {
    const char* Name;
    const char* Reply;  // the peer's reply to the path, JSON (see peer.py)
    int Verb;           // VerbGet or VerbPost
    const char* Path;
    const char* Body;          // request body
    int Status;                // GetStatusCode after the request
    int Result;                // the request's result
    const char* ResponseBody;  // for results 0: the body read
};

inline std::string PeerScript(const TWireScenario& scenario) {
    return std::string("{\"") + scenario.Path + "\": " + scenario.Reply + "}";
}

inline const TWireScenario WireScenarios[] = {
    {"Ok", R"({"status": 200, "body": "OK\r\nready"})", VerbGet, "/check.asp", "", 200, 0, "OK\r\nready"},
    {"Created", R"({"status": 201, "body": "made"})", VerbPost, "/make.asp", "a=1", 201, 0, "made"},
    {"EmptyBody", R"({"status": 200, "body": ""})", VerbGet, "/empty.asp", "", 200, 0, ""},
    {"Redirect", R"({"status": 302, "body": ""})", VerbGet, "/moved.asp", "", 302, 302, nullptr},
    {"NotFound", R"({"status": 404, "body": "none"})", VerbGet, "/missing.asp", "", 404, 404, nullptr},
    {"TooLarge", R"({"status": 413, "body": ""})", VerbPost, "/upload.asp", "x", 413, 413, nullptr},
    {"ServerError",
     R"({"status": 500, "headers": [["Content-Type", "text/plain; charset=UTF-8"]], "body": "\u0421\u0431\u043e\u0439"})",
     3, "/fail.asp", "q", 500, 500, nullptr},
    {"Conflict", R"({"status": 409, "body": "x"})", VerbGet, "/busy.asp", "", 409, 409, nullptr},
};

// Answers that the peer sends as these bytes stand, then closing the connection: status lines
// that cannot be read as a status (not a number, outside 100 to 599) and a head cut short after
// so many bytes. No client may take any of them for a success: each reports a status it could
// not read (THTTP 4, TWinHTTP 8) with the status 0, unless its stack refused the answer while
// sending (Wine's result marked). Whole answers with a status in range close the table.
struct TRawAnswer {
    const char* Name;
    std::string Bytes;
    TExpected<int> WinInet;  // THTTP's result
    TExpected<int> WinHttp;  // TWinHTTP's result
    int Status;              // GetStatusCode afterwards
};

const std::string WholeHead = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nOK";
// TWinHTTP's send error (7): which heads the stack refuses to receive is its own.
inline const TExpected<int> NotReceived =
    WineOnly(7, "WinHTTP fails the receive with 12152 for a status that is not three characters or a head cut short");

inline const TRawAnswer RawAnswers[] = {
    {"hexadecimal status", "HTTP/1.1 0x1F OK\r\n\r\n", 4, NotReceived, 0},
    {"no status after the version", "HTTP/1.1 \r\n\r\n", 4, NotReceived, 0},
    {"status led by a letter", "HTTP/1.1 \xa1\x30\x30 OK\r\n\r\n", 4, 8, 0},
    {"broken version, status led by a letter", "HTTP/1c1 \xfa\x30\x30 OK\r\n\r\n", 4, 8, 0},
    {"status 0", "HTTP/1.1 000 Zero\r\n\r\n", 4, 8, 0},
    {"status 99", "HTTP/1.1 099 Low\r\n\r\n", 4, 8, 0},
    {"status 600", "HTTP/1.1 600 High\r\n\r\n", 4, 8, 0},
    {"closed at once", WholeHead.substr(0, 0), 4, NotReceived, 0},
    {"closed after 3 bytes", WholeHead.substr(0, 3), 4, NotReceived, 0},
    {"closed after 6 bytes", WholeHead.substr(0, 6), 4, NotReceived, 0},
    {"closed after 9 bytes", WholeHead.substr(0, 9), 4, NotReceived, 0},
    {"closed after 12 bytes", WholeHead.substr(0, 12), 4, NotReceived, 0},
    {"status 200", WholeHead, 0, 0, 200},
    {"status 201", "HTTP/1.1 201 Created\r\nContent-Length: 2\r\nConnection: close\r\n\r\nOK", 0, 0, 201},
    {"status 599", "HTTP/1.1 599 Edge\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", 599, 599, 599},
};

// The peer's script: the answer of row i at /rawi.asp.
inline std::string RawAnswersScript() {
    std::string script;
    int row = 0;
    for (const TRawAnswer& answer : RawAnswers)
        script += (script.empty() ? "{" : ", ") + std::string("\"/raw") + std::to_string(row++) +
                  ".asp\": {\"raw_hex\": \"" + PeerHex(answer.Bytes) + "\"}";
    return script + "}";
}

// Sends the request of each raw answer through the client connected to the peer that serves
// RawAnswersScript: the result as the client's column gives it, and never 0 but for 200 and 201;
// the status; the start of the error text, textStart(result, status); the body after a success.
template <typename TextStart>
void CheckRawAnswers(TAllHTTP& client, const TTestPeer& peer, TExpected<int> TRawAnswer::*results,
                     TextStart textStart) {
    int row = 0;
    for (const TRawAnswer& answer : RawAnswers) {
        SCOPED_TRACE(answer.Name);
        const std::string path = "/raw" + std::to_string(row++) + ".asp";
        const int result = client.Request(path, VerbGet, nullptr, 0);
        EXPECT_EQ(result == 0, answer.Status == 200 || answer.Status == 201) << result;
        EXPECT_MEETS(result, answer.*results);
        EXPECT_EQ(client.GetStatusCode(), answer.Status);
        const std::string text = client.GetLastErrorText();
        EXPECT_TRUE(StartsWith(text, textStart(result, answer.Status))) << text;
        if (result == 0) {
            EXPECT_TRUE(client.ResponseEquals("OK"));
        }
        const auto requests = peer.Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.back().RequestLine, "GET " + path + " HTTP/1.1");
    }
}
