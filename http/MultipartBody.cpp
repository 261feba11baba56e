#include "MultipartBody.h"
#include "Owned.h"
#include <climits>
#include <cstring>

namespace {
// Room beyond the content that the part header and the closing boundary normally fit into.
constexpr int Slack = 2048;

std::string PartHead(const std::string& fileName) {
    return std::string("--") + MultipartBoundary + "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"" +
           fileName + "\"\r\nContent-Type: application/octet-stream\r\n\r\n";
}

std::string Closing() {
    return std::string("\r\n--") + MultipartBoundary + "--";
}
}  // namespace

const char MultipartBoundary[] = "---------------------------7d93c227108c8";

std::string MultipartRequestHeaders() {
    return std::string("Content-type: multipart/form-data, boundary=") + MultipartBoundary;
}

unsigned char* TMultipartBody::Allocate(const std::string& fileName, int contentLength) {
    block.Reset();
    length = 0;
    const std::string head = PartHead(fileName);
    const long long needed = static_cast<long long>(head.size()) + contentLength + Closing().size() + 1;
    const long long size = needed > static_cast<long long>(contentLength) + Slack ? needed : contentLength + Slack;
    if (size > INT_MAX) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    block.Reset(static_cast<unsigned char*>(LocalAlloc(LPTR, static_cast<SIZE_T>(size))));
    if (block.Get() == nullptr)
        return nullptr;
    std::memcpy(block.Get(), head.data(), head.size());
    headLength = static_cast<int>(head.size());
    return block.Get() + headLength;
}

void TMultipartBody::Finish(int contentLength) {
    const std::string closing = Closing();
    std::memcpy(block.Get() + headLength + contentLength, closing.data(), closing.size());
    length = headLength + contentLength + static_cast<int>(closing.size());
}

bool TMultipartBody::Build(const std::string& fileName, const void* content, int contentLength) {
    if (contentLength < 0 || (content == nullptr && contentLength > 0))
        return false;
    unsigned char* place = Allocate(fileName, contentLength);
    if (place == nullptr)
        return false;
    if (contentLength > 0)
        std::memcpy(place, content, static_cast<size_t>(contentLength));
    Finish(contentLength);
    return true;
}

bool TMultipartBody::BuildFromFile(const std::string& fileName, const char* path) {
    block.Reset();
    length = 0;
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const TFileHandle file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return false;
    DWORD high = 0;
    const DWORD size = GetFileSize(file.Get(), &high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return false;
    if (high != 0 || size > static_cast<DWORD>(INT_MAX - Slack)) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    unsigned char* place = Allocate(fileName, static_cast<int>(size));
    if (place == nullptr)
        return false;
    DWORD read = 0;
    const bool readAll = ReadFile(file.Get(), place, size, &read, nullptr) != FALSE;
    if (!readAll || read != size) {
        const DWORD error = readAll ? ERROR_HANDLE_EOF : GetLastError();
        block.Reset();
        SetLastError(error);
        return false;
    }
    Finish(static_cast<int>(size));
    return true;
}
