// The Program Files and Windows folders.
#pragma once
#include <string>

// From the 64-bit registry view: x86 false gives "ProgramFilesDir" (the 64-bit folder on 64-bit
// Windows), true gives "ProgramFilesDir (x86)", which 32-bit Windows lacks. "" when unreadable.
std::string GetProgramFilesDir(bool x86);

// The "WinDir" environment variable, remembered after the first call that finds it; "" while unset.
std::string GetWindowsDir();
