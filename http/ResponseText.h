// Response bodies as ANSI (cp1251) text: conversion by the declared charset and the decoding of
// the three-digit numeric character references that servers put into their error pages.
#pragma once
#include <string>

// A NUL-terminated ANSI copy of the body in a new local-heap block (the caller frees it), taken
// as UTF-8 when the content type names "UTF-8", as UTF-16 (machine byte order, up to a NUL or
// the end of the body) when it names "UTF-16", else byte for byte. Null when nothing results.
char* ResponseTextToAnsi(std::string contentType, const char* data, int length);

// "&#NNN;" with three digits and a value above 192 becomes the byte NNN mod 256 (Б..я for
// 193..255); every other reference, and one whose byte would be NUL, stays as it is.
std::string DecodeNumericCharRefs(std::string text);
