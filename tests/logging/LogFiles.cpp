#include "LogFiles.h"
#include "Text.h"
#include <windows.h>
#include <algorithm>
#include <atomic>

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

TTempFolder::TTempFolder() {
    static std::atomic<int> made{0};
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"vorsalt-logging-" + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(++made);
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    path = vcl::ToAnsi(folder);
}

TTempFolder::~TTempFolder() {
    RemoveTree(vcl::ToWide(path));
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(vcl::ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((vcl::ToWide(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(vcl::ToAnsi(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}
