// The client library as the test scripts it, read from the environment variable VORSALT_LUM at
// each call:
//   enchance=HEX[|TEXT];authentificate=HEX[|TEXT];kind=N;id=TEXT
// A function whose answer is scripted returns HEX instead of asking the service, and GetError then
// gives TEXT (null when there is no "|"). kind (decimal) and id are written into every request
// record that Authentificate accepts; id is copied as strncpy does, so a text of the buffer's size
// or longer fills it without a NUL. Values cannot hold ";".
#pragma once
#include <cstdint>
#include <optional>
#include <string>

struct LumAnswer {
    int32_t result = 0;
    std::optional<std::string> error;
};

struct LumScript {
    std::optional<LumAnswer> enchance, authentificate;
    std::optional<int32_t> kind;
    std::optional<std::string> id;
};

LumScript ParseLumScript(const std::string& text);
