// The start of a text as long as an expected prefix, so a mismatch shows both.
#pragma once
#include <cstring>
#include <string>

inline std::string Head(const std::string& text, const char* prefix) {
    return text.substr(0, std::strlen(prefix));
}
