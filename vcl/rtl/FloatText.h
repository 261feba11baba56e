// Conversions between extended floating-point numbers (80-bit) and text. They never consult
// the thread's locale: the caller's settings give the decimal separator.
#pragma once
#include "Exception.h"
#include <string>

struct TFormatSettings {
    wchar_t DecimalSeparator = L'.';
};

// Text: optional blanks, an optional sign, digits with an optional separator and fraction (at
// least one digit), an optional exponent ("E" or "e", an optional sign, digits), optional
// blanks. False when the text is not such a number or lies outside the extended range; a value
// too small for the range becomes 0.
bool TextToFloat(const wchar_t* text, int length, long double& value, const TFormatSettings& settings);
// As TextToFloat; raises EConvertError "'text' is not a valid floating point value".
long double StrToFloat(const std::wstring& text, const TFormatSettings& settings);

// The general format with 15 significant digits: fixed notation while the decimal exponent
// allows (values from 0.0001 up to below 10^15), else d.dddE[-]x; "INF", "-INF" and "NAN".
// FloatToText writes into buffer (at least FloatTextCapacity characters, no NUL) and returns
// the length.
constexpr int FloatTextCapacity = 32;
int FloatToText(wchar_t* buffer, long double value, const TFormatSettings& settings);
std::wstring FloatToStr(long double value, const TFormatSettings& settings);
