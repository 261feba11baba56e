#include "Text.h"
#include <windows.h>

namespace vcl {

static_assert(AnsiCodePage == CP_ACP);

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

std::wstring Utf8ToWide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

}  // namespace vcl
