#include "LogConfigFile.h"
#include "Streams.h"
#include "Text.h"
#include <windows.h>

namespace HierLog {

namespace {

std::string AnsiText(const std::string& bytes) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) {
        const int units = MultiByteToWideChar(CP_UTF8, 0, bytes.data() + 3, static_cast<int>(size - 3), nullptr, 0);
        std::wstring wide(units > 0 ? units : 0, L'\0');
        if (units > 0)
            MultiByteToWideChar(CP_UTF8, 0, bytes.data() + 3, static_cast<int>(size - 3), &wide[0], units);
        return vcl::ToAnsi(wide);
    }
    if (size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF))) {
        const bool littleEndian = data[0] == 0xFF;
        std::wstring wide;
        for (size_t i = 2; i + 1 < size; i += 2)  // an odd last byte is no character
            wide += static_cast<wchar_t>(littleEndian ? data[i] | data[i + 1] << 8 : data[i] << 8 | data[i + 1]);
        return vcl::ToAnsi(wide);
    }
    return bytes;
}

}  // namespace

TLogStringList SplitLines(const std::string& text) {
    TLogStringList lines;
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

TLogStringList LoadConfigurationLines(const std::string& fileName) {
    TMemoryStream stream;
    stream.LoadFromFile(vcl::ToWide(fileName));
    const std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
    return SplitLines(AnsiText(bytes));
}

}  // namespace HierLog
