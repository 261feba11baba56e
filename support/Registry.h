// Readers of registry values. RegReadDword and RegReadString answer an HRESULT-style result:
// 0 success, 87 null output, RegWrongType for a value of another type, 0x8007xxxx for a failed
// platform call (xxxx the low 16 bits of its Win32 error). The output is written only on success.
#pragma once
#include <windows.h>
#include <string>

const HRESULT RegWrongType = static_cast<HRESULT>(0x8004000A);

// r when r <= 0, else (r AND 0xFFFF) OR 0x80070000.
HRESULT RegResultFromError(LONG error);

// An empty value name reads the key's default value.
HRESULT RegReadDword(HKEY root, const char* subkey, const char* name, DWORD* output);

// extraAccess is ORed into KEY_READ (KEY_WOW64_64KEY, 0x100, reads the 64-bit view).
// REG_EXPAND_SZ comes back as stored; the text ends at its first zero byte.
HRESULT RegReadString(HKEY root, const char* subkey, const char* name, std::string* output, REGSAM extraAccess);

// True when the value was read; output is 0 whenever the result is false. A value that exists
// but is not a DWORD raises ERegistryException.
bool RegReadInteger(HKEY root, const std::string& subkey, const std::string& name, int* output);
