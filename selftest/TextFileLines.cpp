#include "TextFileLines.h"
#include "ErrorText.h"
#include "Exception.h"
#include "FileStream.h"
#include "Owned.h"
#include "TextLines.h"
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

}  // namespace

void SaveTextLines(const std::wstring& fileName, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(text.data(), static_cast<int>(text.size()));
}

std::vector<std::string> LoadTextLines(const std::string& fileName, unsigned long maxBytes) {
    return vcl::SplitLines(vcl::TextFromFileBytes(ReadWholeFile(fileName, maxBytes)));
}
