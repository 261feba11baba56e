// Wire scenarios that both HTTP clients must pass alike: the request a test sends, the peer's
// scripted reply, and the status and body the client must report. The error texts differ by
// client; each client's test keeps its own table of them by scenario name.
#pragma once
#include <string>
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
