// Files for the file appender tests: a fresh folder under the temporary folder for each case,
// removed with everything in it afterwards; whole files are read and written by TempFiles.h.
// Paths are ANSI (cp1251).
#pragma once
#include "TempFiles.h"
#include <string>
#include <vector>

class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;
    const std::string& Path() const { return path; }
    std::string operator/(const std::string& name) const { return path + "\\" + name; }

private:
    std::string path;
};

bool FileExists(const std::string& path);
std::vector<std::string> FilesIn(const std::string& folder);
