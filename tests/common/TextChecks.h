// Small checks of texts that many tests make.
#pragma once
#include <string>

inline bool StartsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}
