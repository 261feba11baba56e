#include "ResponseText.h"
#include "Conversions.h"
#include "StringHelpers.h"
#include <cstring>

namespace {
char* Utf16ToAnsi(const char* data, int length) {
    if (length < static_cast<int>(sizeof(wchar_t)))
        return nullptr;
    std::wstring text(static_cast<size_t>(length) / sizeof(wchar_t), L'\0');
    std::memcpy(&text[0], data, text.size() * sizeof(wchar_t));
    text.resize(std::wcslen(text.c_str()));
    return WideToAnsi(text.c_str());
}

bool IsThreeDigits(const std::string& text) {
    return text.size() == 3 && text.find_first_not_of("0123456789") == std::string::npos;
}
}  // namespace

char* ResponseTextToAnsi(std::string contentType, const char* data, int length) {
    if (length < 0 || (data == nullptr && length > 0))
        return nullptr;
    try {
        const std::string type = ToUpperCp1251(contentType);
        if (type.find("UTF-8") != std::string::npos)
            return Utf8ToAnsi(data, length);
        if (type.find("UTF-16") != std::string::npos)
            return Utf16ToAnsi(data, length);
        return LocalAllocCopy(data, static_cast<size_t>(length));
    } catch (...) {
        return nullptr;
    }
}

std::string DecodeNumericCharRefs(std::string text) {
    std::string output;
    size_t copyStart = 0;
    size_t searchStart = 0;
    size_t reference;
    while ((reference = text.find("&#", searchStart)) != std::string::npos) {
        output.append(text, copyStart, reference - copyStart);
        copyStart = reference;
        const size_t end = text.find(';', reference);
        if (end == std::string::npos)
            break;
        searchStart = end;
        const std::string digits = text.substr(reference + 2, end - reference - 2);
        unsigned int value = 0;
        if (IsThreeDigits(digits) && ParseDecimalUInt(digits.c_str(), value) && value > 192 && value % 256 != 0) {
            output += static_cast<char>(value % 256);
            copyStart = end + 1;
        }
    }
    output.append(text, copyStart, std::string::npos);
    return output;
}
