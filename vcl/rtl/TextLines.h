// Text as the class library's string list reads it from a file: a byte-order mark selects UTF-8
// or UTF-16 (either byte order), otherwise the bytes are ANSI text (Text.h); CR LF, LF and CR
// each end a line.
#pragma once
#include <string>
#include <vector>

namespace vcl {

// The file's bytes as ANSI text, without the mark; characters the code page lacks become "?".
// An odd last byte of UTF-16 is no character; a NUL character stays in the text.
std::string TextFromFileBytes(const std::string& bytes);

// The lines of a text; a line end at the very end starts no further line.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace vcl
