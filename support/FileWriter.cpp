#include "FileWriter.h"
#include "ErrorText.h"
#include "Owned.h"

namespace {
bool FileExists(const char* fileName) {
    const DWORD attributes = GetFileAttributesA(fileName);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

HANDLE CreateFileForWrite(const char* fileName) {
    if (fileName == nullptr)
        return nullptr;
    if (FileExists(fileName) && MessageBoxA(nullptr, (std::string("Переписать файл\n") + fileName).c_str(),
                                            "Файл с таким именем уже существует", MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return INVALID_HANDLE_VALUE;
    // Always synchronous: the data goes out in one plain WriteFile call.
    HANDLE file = CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

DWORD WriteDataToFile(const char* fileName, const void* data, DWORD length, std::string* errorText) {
    const std::string name = fileName != nullptr ? fileName : "";
    if (data == nullptr && length != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        LogOrStoreError(errorText, "Ошибка записи файла на диск.");
        return 0;
    }
    HANDLE file = CreateFileForWrite(fileName);
    if (file == nullptr) {
        LogOrStoreError(errorText, "Не удается создать файл. " + name);
        return 0;
    }
    if (file == INVALID_HANDLE_VALUE) {
        if (errorText != nullptr)
            *errorText = "Файл не записан: пользователь отказался заменить существующий файл. " + name;
        return 0;
    }
    const TFileHandle holder(file);
    DWORD written = 0;
    if (!WriteFile(holder.Get(), data, length, &written, nullptr)) {
        LogOrStoreError(errorText, "Ошибка записи файла на диск.");
        return 0;
    }
    return written;
}
