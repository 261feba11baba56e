#include "LogText.h"
#include <windows.h>
#include <cstdint>

namespace HierLog {

std::string LowerCaseAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string AnsiLowerCase(std::string text) {
    if (!text.empty())
        CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && AnsiLowerCase(a) == AnsiLowerCase(b);
}

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

int StrToIntDef(const std::string& text, int defaultValue) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        return defaultValue;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return defaultValue;
        value = value * base + digit;
        if (value > 0x80000000LL)
            return defaultValue;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return defaultValue;
    return static_cast<int>(value);
}

}  // namespace HierLog
