// Text conversions: the logic's texts are cp1251, windows speak UTF-16, files may hold UTF-8.
#pragma once
#include <string>

namespace vcl {
constexpr unsigned AnsiCodePage = 1251;
std::wstring ToWide(const std::string& ansi);
std::string ToAnsi(const std::wstring& wide);
// UTF-8 bytes (without a byte-order mark) as UTF-16.
std::wstring Utf8ToWide(const std::string& utf8);
}  // namespace vcl
