// Small checks of texts that many tests make, and a text made of copies of a piece.
#pragma once
#include <cstring>
#include <string>

inline bool StartsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

inline bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

inline bool Contains(const std::string& text, const std::string& piece) {
    return text.find(piece) != std::string::npos;
}

// The start of a text as long as an expected prefix, so a mismatch shows both.
inline std::string Head(const std::string& text, const char* prefix) {
    return text.substr(0, std::strlen(prefix));
}

inline std::string Repeated(const std::string& piece, size_t copies) {
    std::string text;
    text.reserve(piece.size() * copies);
    for (size_t copy = 0; copy < copies; ++copy)
        text += piece;
    return text;
}
