// Small string operations on ANSI (cp1251) texts.
#pragma once
#include <string>

// Upper-cases Latin and Cyrillic letters by the rules of the locale Russian_Russia.1251.
std::string ToUpperCp1251(const std::string& text);

std::string IntToStdString(int value);
// Lower-case hex of the unsigned 32-bit form, no prefix, no leading zeros.
std::string IntToHexStdString(int value);

// Scanning goes on after each inserted replacement; an empty searched text changes nothing.
std::string ReplaceAll(const std::string& text, const std::string& searched, const std::string& replacement);

// Whole text must be a decimal number in the signed 32-bit range; value is written only on success.
bool ParseDecimalUInt(const char* text, unsigned int& value);

// "scheme://host[:port]/path" -> host (port kept) and path (without the leading slash).
bool SplitHostPath(const std::string& url, std::string& host, std::string& path);

float MaxFloat(float a, float b);

// Text after the last backslash; "" when there is none.
std::string FileNameFromPath(const std::string& path);
