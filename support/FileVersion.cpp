#include "FileVersion.h"
#include "SystemFolders.h"
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
const size_t VersionTextCapacity = 256;

void CopyTruncated(char* target, size_t capacity, const char* text) {
    if (target == nullptr || capacity == 0)
        return;
    const size_t length = strnlen(text, capacity - 1);
    memcpy(target, text, length);
    target[length] = '\0';
}

std::string VersionOf(const char* fileName) {
    char version[VersionTextCapacity] = {};
    char language[VersionTextCapacity] = {};
    GetFileVersionText(fileName, version, sizeof(version), language, sizeof(language));
    return version;
}
}  // namespace

void GetFileVersionText(const char* fileName, char* version, size_t versionCapacity, char* language,
                        size_t languageCapacity) {
    if (fileName == nullptr)
        return;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName, &handle);
    if (size == 0)
        return;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(fileName, 0, size, block.data()))
        return;
    DWORD* translation = nullptr;
    UINT translationSize = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                        &translationSize) ||
        translation == nullptr || translationSize < sizeof(DWORD))
        return;
    const WORD languageId = LOWORD(*translation);
    const WORD codePage = HIWORD(*translation);

    char languageName[80] = {};
    if (VerLanguageNameA(languageId, languageName, sizeof(languageName)) != 0)
        CopyTruncated(language, languageCapacity, languageName);

    char query[64];
    snprintf(query, sizeof(query), "\\StringFileInfo\\%04X%04X\\FileVersion", languageId, codePage);
    char* value = nullptr;
    UINT valueLength = 0;
    if (VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &valueLength) && value != nullptr)
        CopyTruncated(version, versionCapacity, std::string(value, strnlen(value, valueLength)).c_str());
}

std::string GetModuleVersion(const char* name) {
    if (name == nullptr || strlen(name) >= MAX_PATH)
        return std::string();
    char fileName[MAX_PATH + 1] = {};
    HMODULE module = GetModuleHandleA(name);
    if (module == nullptr || GetModuleFileNameA(module, fileName, MAX_PATH) == 0)
        lstrcpynA(fileName, name, MAX_PATH);
    return VersionOf(fileName);
}

void GetWinverVersion(std::string* text) {
    const std::string version = VersionOf((GetWindowsDir() + "\\system32\\winver.exe").c_str());
    if (text != nullptr)
        *text = version;
}
