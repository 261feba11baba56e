#include "TextFileLines.h"
#include "Conversions.h"
#include "ErrorText.h"
#include "Exception.h"
#include "FileStream.h"
#include "Owned.h"
#include <windows.h>

namespace {

[[noreturn]] void RaiseFileError(const char* what, const std::string& fileName, const std::string& reason) {
    throw Exception(std::string(what) + " \"" + fileName + "\". " + reason);
}

std::string ReadWholeFile(const std::string& fileName, unsigned long maxBytes) {
    const TFileHandle file(CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        RaiseFileError("Cannot open file", fileName, GetSystemErrorMessage(GetLastError(), false));
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size))
        RaiseFileError("Cannot read file", fileName, GetSystemErrorMessage(GetLastError(), false));
    if (size.QuadPart > static_cast<LONGLONG>(maxBytes))
        RaiseFileError("Cannot read file", fileName, "File too large.");
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr)))
        RaiseFileError("Cannot read file", fileName, GetSystemErrorMessage(GetLastError(), false));
    bytes.resize(read);
    return bytes;
}

template <typename Text>
std::vector<Text> SplitLines(const Text& text) {
    std::vector<Text> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.push_back(text.substr(start, end - start));
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

std::wstring Utf8ToWide(const std::string& bytes) {
    const int length = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(units > 0 ? units : 0, L'\0');
    if (units > 0)
        MultiByteToWideChar(CP_UTF8, 0, bytes.data(), length, &wide[0], units);
    return wide;
}

std::wstring Utf16ToWide(const std::string& bytes, bool bigEndian) {
    std::wstring wide(bytes.size() / 2, L'\0');  // an odd last byte is no character
    for (size_t i = 0; i < wide.size(); ++i) {
        const unsigned char a = bytes[2 * i], b = bytes[2 * i + 1];
        wide[i] = static_cast<wchar_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return wide;
}

std::vector<std::string> ToAnsiLines(const std::wstring& text) {
    std::vector<std::string> lines;
    for (const std::wstring& line : SplitLines(text))
        lines.push_back(WStringToString(line));
    return lines;
}

bool StartsWith(const std::string& bytes, const char* mark) {
    return bytes.compare(0, strlen(mark), mark) == 0;
}

}  // namespace

std::vector<std::string> SplitTextLines(const std::string& text) {
    return SplitLines(text);
}

void SaveTextLines(const std::wstring& fileName, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(text.data(), static_cast<int>(text.size()));
}

std::vector<std::string> LoadTextLines(const std::string& fileName, unsigned long maxBytes) {
    const std::string bytes = ReadWholeFile(fileName, maxBytes);
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return ToAnsiLines(Utf8ToWide(bytes.substr(3)));
    if (StartsWith(bytes, "\xFF\xFE"))
        return ToAnsiLines(Utf16ToWide(bytes.substr(2), false));
    if (StartsWith(bytes, "\xFE\xFF"))
        return ToAnsiLines(Utf16ToWide(bytes.substr(2), true));
    return SplitLines(bytes);
}
