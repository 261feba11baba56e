// File version texts from version resources.
#pragma once
#include <cstddef>
#include <string>

// The FileVersion string and the language name of the resource's first translation. Each buffer
// receives at most capacity - 1 characters and a terminating zero; both stay as they are when the
// file has no version resource (the language one also when the name is unknown).
void GetFileVersionText(const char* fileName, char* version, size_t versionCapacity, char* language,
                        size_t languageCapacity);

// For a loaded module its own file, otherwise the name as a file name; "" when there is no version.
std::string GetModuleVersion(const char* name);

// The FileVersion of winver.exe in the Windows folder's system32; text may be null.
void GetWinverVersion(std::string* text);
