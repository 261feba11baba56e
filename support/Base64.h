// Base64 (RFC 4648 alphabet, "=" padding) for certificates, CRLs and automation byte values.
#pragma once
#include <string>

// A NUL-terminated text without line breaks in a local-heap block (TLocalFree<char>), or null
// with errorText composed (when given).
char* kwbase64_encode(const unsigned char* data, unsigned int n, std::string* errorText);

// Decodes in place the first length characters, skipping CR, LF, blanks and NULs inside a group
// (a NUL at a group boundary ends the text). Returns the bytes written to the start of buffer,
// or -1 for a null buffer, a length <= 0 or a bad character before the last three.
// state: 0 on a group boundary, else the place in the group where the input ended or went bad.
int kwbase64_decode(char* buffer, int length, int* state);
