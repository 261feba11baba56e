#include "Conversions.h"
#include "LocalFree.h"
#include "SysString.h"
#include "Text.h"
#include <climits>
#include <cstdint>
#include <cstring>
#include <cwchar>

char* LocalAllocCopy(const void* source, size_t length) {
    if (length == SIZE_MAX)
        return nullptr;
    char* block = static_cast<char*>(LocalAlloc(LPTR, length + 1));
    if (block != nullptr && length > 0 && source != nullptr)
        std::memcpy(block, source, length);
    return block;
}

bool LocalBlobCopy(const void* source, size_t length, CRYPT_DATA_BLOB& blob) {
    blob.pbData = reinterpret_cast<BYTE*>(LocalAllocCopy(source, length));
    blob.cbData = blob.pbData != nullptr ? static_cast<DWORD>(length) : 0;
    return blob.pbData != nullptr;
}

bool IsTextBuffer(const void* data, size_t n) {
    if (data == nullptr)
        return n == 0;
    return std::memchr(data, 0, n) == nullptr;
}

char* WideToAnsi(const wchar_t* text) {
    if (text == nullptr)
        return nullptr;
    const size_t units = std::wcslen(text);
    if (units == 0 || units >= INT_MAX)
        return nullptr;
    const int n = static_cast<int>(units);
    TLocalFree<char> block(static_cast<char*>(LocalAlloc(LPTR, n + 1)));
    if (block.Get() == nullptr)
        return nullptr;
    const int written = WideCharToMultiByte(vcl::AnsiCodePage, 0, text, n, block.Get(), n, nullptr, nullptr);
    if (written <= 0)
        return nullptr;
    block.Get()[n] = 0;
    return block.Detach();
}

char* Utf8ToAnsi(const char* source, int length) {
    if (source == nullptr || length == 0 || length < -1)
        return static_cast<char*>(LocalAlloc(LPTR, 1));
    const int needed = MultiByteToWideChar(CP_UTF8, 0, source, length, nullptr, 0);
    TSysString wide(SysAllocStringLen(nullptr, needed > 0 ? needed : 0));
    if (wide.Get() == nullptr)
        return nullptr;
    const int units = needed > 0 ? MultiByteToWideChar(CP_UTF8, 0, source, length, wide.Get(), needed) : 0;
    const int bytes = units > 0
                          ? WideCharToMultiByte(vcl::AnsiCodePage, 0, wide.Get(), units, nullptr, 0, nullptr, nullptr)
                          : 0;
    char* block = static_cast<char*>(LocalAlloc(LPTR, bytes + 1));
    if (block != nullptr && bytes > 0)
        WideCharToMultiByte(vcl::AnsiCodePage, 0, wide.Get(), units, block, bytes, nullptr, nullptr);
    return block;
}

BSTR AnsiToBstr(const char* text, int length, int* count) {
    if (count != nullptr)
        *count = 0;
    if (text == nullptr || length <= 0)
        return SysAllocStringLen(nullptr, 0);
    const int needed = MultiByteToWideChar(vcl::AnsiCodePage, MB_PRECOMPOSED, text, length, nullptr, 0);
    if (needed <= 0)
        return nullptr;
    BSTR result = SysAllocStringLen(nullptr, needed);
    if (result == nullptr)
        return nullptr;
    const int units = MultiByteToWideChar(vcl::AnsiCodePage, MB_PRECOMPOSED, text, length, result, needed);
    if (count != nullptr)
        *count = units;
    return result;
}

BSTR AnsiToBstrZ(const char* text) {
    const size_t length = text != nullptr ? std::strlen(text) : 0;
    return AnsiToBstr(text, length < INT_MAX ? static_cast<int>(length) : 0, nullptr);
}

std::string WStringToString(const std::wstring& text) {
    TLocalFree<char> ansi(WideToAnsi(text.c_str()));
    return ansi.Get() != nullptr ? std::string(ansi.Get()) : std::string();
}

std::wstring StringToWString(const std::string& text) {
    const int length = text.size() < INT_MAX ? static_cast<int>(text.size()) : 0;
    TSysString wide(AnsiToBstr(text.data(), length, nullptr));
    return wide.Get() != nullptr ? std::wstring(wide.Get()) : std::wstring();
}
