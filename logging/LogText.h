// Small text operations of the library on ANSI (cp1251) texts.
#pragma once
#include <string>

namespace HierLog {

// Only the letters A to Z change.
std::string LowerCaseAscii(std::string text);
// Letter case of the system's ANSI code page ignored.
bool SameText(const std::string& a, const std::string& b);
std::string AnsiLowerCase(std::string text);
bool StartsWith(const std::string& text, const std::string& start);
// A whole number in signed 32 bits: optional leading blanks and sign, decimal digits or "$"/"0x"
// and hexadecimal ones; the default for anything else.
int StrToIntDef(const std::string& text, int defaultValue);

}  // namespace HierLog
