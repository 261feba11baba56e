// Text files as lists of lines, as the class library's string list reads and writes them. Read:
// a byte-order mark selects UTF-8 or UTF-16 (either byte order), otherwise the bytes are ANSI
// text; CR LF, LF and CR each end a line. Lines are ANSI (the system code page).
#pragma once
#include <string>
#include <vector>

// Raises Exception when the file cannot be opened or read, or is larger than maxBytes.
std::vector<std::string> LoadTextLines(const std::string& fileName, unsigned long maxBytes);

// The lines of a text; a line end at the very end starts no further line.
std::vector<std::string> SplitTextLines(const std::string& text);

// Writes each line and CR LF, without byte-order mark, into a new file; an existing one is
// replaced. Raises EFCreateError when the file cannot be made and EWriteError when it cannot be
// written whole.
void SaveTextLines(const std::wstring& fileName, const std::vector<std::string>& lines);
