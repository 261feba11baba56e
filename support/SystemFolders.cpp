#include "SystemFolders.h"
#include "Registry.h"
#include <windows.h>

std::string GetProgramFilesDir(bool x86) {
    std::string folder;
    if (RegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                      x86 ? "ProgramFilesDir (x86)" : "ProgramFilesDir", &folder, KEY_WOW64_64KEY) < 0)
        return std::string();
    return folder;
}

std::string GetWindowsDir() {
    static std::string remembered;
    if (!remembered.empty())
        return remembered;
    char buffer[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("WinDir", buffer, sizeof(buffer));
    if (length == 0 || length >= sizeof(buffer))
        return std::string();
    remembered = buffer;
    return remembered;
}
