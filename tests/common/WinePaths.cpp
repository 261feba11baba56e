#include "WinePaths.h"
#include <windows.h>
#include <algorithm>
#include "Owned.h"

std::string WindowsPathOf(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string UnixPathOf(const std::string& windowsPath) {
    std::string path = windowsPath.substr(2);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool StartUnixProgram(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    const TKernelHandle thread(process.hThread), handle(process.hProcess);
    return true;
}
