#include "FileStream.h"
#include "Text.h"

namespace {

DWORD ShareMode(unsigned short mode) {
    switch (mode & 0x00F0) {
    case fmShareDenyWrite:
        return FILE_SHARE_READ;
    case fmShareDenyRead:
        return FILE_SHARE_WRITE;
    case fmShareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0;  // compatible and exclusive
    }
}

DWORD Access(unsigned short mode) {
    switch (mode & 0x0003) {
    case fmOpenWrite:
        return GENERIC_WRITE;
    case fmOpenReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

// The system's text of an error code, without its line end.
std::string SystemText(DWORD code) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result(text ? text : "", n);
    // Not through the owner of local-heap blocks (support/LocalFree.h): that stands in a layer
    // above this one, which this layer may not include.
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == ' '))
        result.pop_back();
    return result;
}

}  // namespace

EFCreateError FileCreateError(const std::wstring& fileName, DWORD code) {
    return EFCreateError("Cannot create file \"" + vcl::ToAnsi(fileName) + "\". " + SystemText(code));
}

int THandleStream::Read(void* buffer, int count) {
    DWORD done = 0;
    if (count <= 0 || !ReadFile(handle, buffer, static_cast<DWORD>(count), &done, nullptr))
        return 0;
    return static_cast<int>(done);
}

int THandleStream::Write(const void* buffer, int count) {
    DWORD done = 0;
    if (count <= 0 || !WriteFile(handle, buffer, static_cast<DWORD>(count), &done, nullptr))
        return 0;
    return static_cast<int>(done);
}

int64_t THandleStream::Seek(int64_t offset, TSeekOrigin origin) {
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    const DWORD method = origin == soBeginning ? FILE_BEGIN : origin == soCurrent ? FILE_CURRENT : FILE_END;
    if (!SetFilePointerEx(handle, distance, &result, method))
        throw EStreamError("Stream seek error");
    return result.QuadPart;
}

void THandleStream::SetSize(int64_t size) {
    const int64_t position = Position();
    Seek(size, soBeginning);
    if (!SetEndOfFile(handle)) {
        Seek(position, soBeginning);
        throw EStreamError("Stream write error");
    }
    if (position < size)
        Seek(position, soBeginning);
}

TFileStream::TFileStream(const std::wstring& name, unsigned short mode)
    : THandleStream(INVALID_HANDLE_VALUE), fileName(name) {
    const bool create = (mode & fmCreate) == fmCreate;
    handle = CreateFileW(name.c_str(), create ? GENERIC_READ | GENERIC_WRITE : Access(mode), ShareMode(mode), nullptr,
                         create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE)
        return;
    const DWORD code = GetLastError();
    if (create)
        throw FileCreateError(name, code);
    throw EFOpenError("Cannot open file \"" + vcl::ToAnsi(name) + "\". " + SystemText(code));
}

TFileStream::~TFileStream() {
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
}
