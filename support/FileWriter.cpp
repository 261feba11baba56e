#include "FileWriter.h"
#include "ErrorText.h"

namespace {
class TFileHandle {
public:
    explicit TFileHandle(HANDLE handle) : handle(handle) {}
    ~TFileHandle() { CloseHandle(handle); }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    HANDLE Get() const { return handle; }

private:
    HANDLE handle;
};

bool FileExists(const char* fileName) {
    const DWORD attributes = GetFileAttributesA(fileName);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void SetError(std::string* errorText, const std::string& message) {
    if (errorText != nullptr)
        *errorText = FormatErrorText(message, 0, false, false);
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
        SetError(errorText, "Ошибка записи файла на диск.");
        return 0;
    }
    HANDLE file = CreateFileForWrite(fileName);
    if (file == nullptr) {
        SetError(errorText, "Не удается создать файл. " + name);
        return 0;
    }
    if (file == INVALID_HANDLE_VALUE) {
        if (errorText != nullptr)
            *errorText = "Файл не записан: пользователь отказался заменить существующий файл. " + name;
        return 0;
    }
    TFileHandle holder(file);
    DWORD written = 0;
    if (!WriteFile(holder.Get(), data, length, &written, nullptr)) {
        SetError(errorText, "Ошибка записи файла на диск.");
        return 0;
    }
    return written;
}
