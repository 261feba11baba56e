// Writing one block of data into a new file, asking the user before an existing one is replaced.
#pragma once
#include <windows.h>
#include <string>

// Null when the file cannot be created; INVALID_HANDLE_VALUE when the user declined to replace
// an existing file (nothing is then created or changed). The caller closes any other handle.
HANDLE CreateFileForWrite(const char* fileName);

// The number of bytes written, 0 on failure or refusal with errorText (when given) saying why.
// A partial file left by a failed write is not removed.
DWORD WriteDataToFile(const char* fileName, const void* data, DWORD length, std::string* errorText);
