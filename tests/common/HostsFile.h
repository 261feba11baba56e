// The prefix's hosts file replaced for one test and put back afterwards (lock hosts_file).
#pragma once
#include "SystemFolders.h"
#include "TempFiles.h"
#include <windows.h>
#include <string>

class THostsFile {
public:
    THostsFile() : hadOriginal(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        original = FileBytes(path);
    }
    ~THostsFile() {
        if (hadOriginal)
            WriteFileBytes(path, original);
        else
            DeleteFileA(path.c_str());
    }
    THostsFile(const THostsFile&) = delete;
    THostsFile& operator=(const THostsFile&) = delete;

    void Write(const std::string& bytes) const { WriteFileBytes(path, bytes); }
    bool Remove() const { return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; }
    const std::string& Path() const { return path; }

private:
    const std::string path = GetWindowsDir() + "\\System32\\Drivers\\etc\\hosts";
    std::string original;
    bool hadOriginal;
};
