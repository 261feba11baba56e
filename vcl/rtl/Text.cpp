#include "Text.h"
#include <windows.h>

namespace vcl {

std::wstring ToWide(const std::string& ansi) {
    if (ansi.empty())
        return {};
    int n = MultiByteToWideChar(AnsiCodePage, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(n, L'\0');
    MultiByteToWideChar(AnsiCodePage, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return wide;
}

std::string ToAnsi(const std::wstring& wide) {
    if (wide.empty())
        return {};
    int n = WideCharToMultiByte(AnsiCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string ansi(n, '\0');
    WideCharToMultiByte(AnsiCodePage, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), n, nullptr, nullptr);
    return ansi;
}

}  // namespace vcl
