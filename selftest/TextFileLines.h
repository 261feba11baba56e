// Reading a text file as a list of lines, as the class library's string list does: a byte-order
// mark selects UTF-8 or UTF-16 (either byte order), otherwise the bytes are ANSI text; CR LF,
// LF and CR each end a line. Lines come back in ANSI (the system code page).
#pragma once
#include <string>
#include <vector>

// Raises Exception when the file cannot be opened or read, or is larger than maxBytes.
std::vector<std::string> LoadTextLines(const std::string& fileName, unsigned long maxBytes);
