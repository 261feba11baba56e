// Files for the file appender tests: a fresh folder under the temporary folder for each case,
// removed with everything in it afterwards; whole files are read and written by TempFiles.h.
// Paths are ANSI (cp1251).
#pragma once
#include "TempFiles.h"
#include "Text.h"
#include <string>
#include <vector>

class TAnsiTempFolder {
public:
    const std::string& Path() const { return path; }
    std::string operator/(const std::string& name) const { return path + "\\" + name; }

private:
    TTempFolder folder{L"vorsalt-logging"};
    std::string path = vcl::ToAnsi(folder.Path());
};

bool FileExists(const std::string& path);
std::vector<std::string> FilesIn(const std::string& folder);
