#include "TextLines.h"
#include "Text.h"

namespace vcl {

namespace {

bool StartsWith(const std::string& bytes, const char* mark) {
    return bytes.compare(0, std::char_traits<char>::length(mark), mark) == 0;
}

std::wstring Utf16ToWide(const std::string& bytes, bool bigEndian) {
    std::wstring wide(bytes.size() / 2, L'\0');  // an odd last byte is no character
    for (size_t i = 0; i < wide.size(); ++i) {
        const unsigned char a = bytes[2 * i], b = bytes[2 * i + 1];
        wide[i] = static_cast<wchar_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return wide;
}

}  // namespace

std::string TextFromFileBytes(const std::string& bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return ToAnsi(Utf8ToWide(bytes.substr(3)));
    if (StartsWith(bytes, "\xFF\xFE"))
        return ToAnsi(Utf16ToWide(bytes.substr(2), false));
    if (StartsWith(bytes, "\xFE\xFF"))
        return ToAnsi(Utf16ToWide(bytes.substr(2), true));
    return bytes;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

}  // namespace vcl
