// Text conversions: the logic's texts are ANSI, windows speak UTF-16, files may hold UTF-8.
// ANSI is the system's code page, here and in the support library's conversions
// (support/Conversions.h): it is the code page of the platform's ANSI calls, of the file names,
// registry values and system messages they give, and of the report and log files the program
// writes, so a text keeps its characters between a window, a file and a call. On the
// workstations the program serves it is 1251, in which the program's own texts are written.
#pragma once
#include <string>

namespace vcl {
constexpr unsigned AnsiCodePage = 0;  // CP_ACP
std::wstring ToWide(const std::string& ansi);
std::string ToAnsi(const std::wstring& wide);
// UTF-8 bytes (without a byte-order mark) as UTF-16.
std::wstring Utf8ToWide(const std::string& utf8);
}  // namespace vcl
