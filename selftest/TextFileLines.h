// Text files as lists of lines, as the class library's string list reads and writes them. Read:
// the bytes as vcl/rtl/TextLines.h reads them (a byte-order mark selects UTF-8 or UTF-16, else
// ANSI text; CR LF, LF and CR each end a line). Lines are ANSI (the system code page).
#pragma once
#include <string>
#include <vector>

// Raises Exception when the file cannot be opened or read, or is larger than maxBytes.
std::vector<std::string> LoadTextLines(const std::string& fileName, unsigned long maxBytes);

// Writes each line and CR LF, without byte-order mark, into a new file; an existing one is
// replaced. Raises EFCreateError when the file cannot be made and EWriteError when it cannot be
// written whole.
void SaveTextLines(const std::wstring& fileName, const std::vector<std::string>& lines);
