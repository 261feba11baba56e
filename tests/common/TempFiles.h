// Files of the tests: paths in the temporary folder, whole contents, and files and folders removed
// afterwards.
#pragma once
#include <windows.h>
#include "Owned.h"
#include <atomic>
#include <fstream>
#include <sstream>
#include <string>

// The temporary folder's path of a file name.
inline std::string TempPath(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// The whole file; "" when it cannot be read.
inline std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

// Replaces the file with these bytes.
inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A file removed when the holder goes.
class TTempFile {
public:
    // With these bytes.
    TTempFile(const std::string& path, const std::string& bytes) : path(path) { WriteFileBytes(path, bytes); }
    // A copy of another file; Made() tells whether it was made.
    static TTempFile CopyOf(const std::string& source, const std::string& path) {
        TTempFile file(path);
        file.made = CopyFileA(source.c_str(), path.c_str(), FALSE) != 0;
        return file;
    }
    ~TTempFile() {
        if (!path.empty())
            DeleteFileA(path.c_str());
    }
    TTempFile(TTempFile&& other) noexcept : path(std::move(other.path)), made(other.made) { other.path.clear(); }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    TTempFile& operator=(TTempFile&&) = delete;

    const std::string& Path() const { return path; }
    bool Made() const { return made; }

private:
    explicit TTempFile(const std::string& path) : path(path) {}

    std::string path;
    bool made = true;
};

// A search through a folder, as FindFirstFile gives it.
struct TFindTraits : TOwnedTraits<HANDLE> {
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static BOOL Close(Handle handle) { return FindClose(handle); }
};
using TFileSearch = TOwned<TFindTraits>;

// The files (not folders) directly in a folder.
inline int CountFiles(const std::wstring& folder) {
    int count = 0;
    WIN32_FIND_DATAW found;
    const TFileSearch search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search)
        return 0;
    do
        count += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileW(search.Get(), &found));
    return count;
}

// A folder and everything in it, subfolders included, removed.
inline void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    TFileSearch search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search.Get(), &found));
        search.Close();  // a folder that a search holds open is not removed
    }
    RemoveDirectoryW(folder.c_str());
}

// A fresh folder of the test process's own under %TEMP% (its name, the process id and a count),
// removed with everything in it when the holder goes.
class TTempFolder {
public:
    explicit TTempFolder(const std::wstring& name) {
        static std::atomic<int> made{0};
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path = std::wstring(temp) + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
               std::to_wstring(++made);
        RemoveTree(path);
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ~TTempFolder() { RemoveTree(path); }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::wstring& Path() const { return path; }
    std::wstring File(const std::wstring& name) const { return path + L"\\" + name; }

private:
    std::wstring path;
};
