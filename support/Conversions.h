// Conversions between ANSI (the system code page, vcl::AnsiCodePage: Text.h says why), UTF-16,
// UTF-8 and automation strings.
// Returned char* blocks come from the local heap and belong to the caller (TLocalFree<char>);
// returned BSTRs belong to the caller (SysFreeString). Failure gives null, never an exception.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <wincrypt.h>
#include <string>

// A zero-filled block of length + 1 bytes holding the first length bytes of source.
char* LocalAllocCopy(const void* source, size_t length);

// The bytes in a local-heap blob (LocalAllocCopy) that the caller frees; false, with the blob
// empty, when memory runs out.
bool LocalBlobCopy(const void* source, size_t length, CRYPT_DATA_BLOB& blob);

// True when none of the first n bytes is zero (base64 text rather than DER).
bool IsTextBuffer(const void* data, size_t n);

// Null for a null or empty text and when the conversion fails.
char* WideToAnsi(const wchar_t* text);

// length -1 converts up to and including the terminating NUL.
char* Utf8ToAnsi(const char* source, int length);

// count receives the UTF-16 units written; length 0 gives an empty, non-null BSTR.
BSTR AnsiToBstr(const char* text, int length, int* count);
BSTR AnsiToBstrZ(const char* text);

std::string WStringToString(const std::wstring& text);
std::wstring StringToWString(const std::string& text);
