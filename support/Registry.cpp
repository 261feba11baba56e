#include "Registry.h"
#include "LocalFree.h"
#include "Owned.h"
#include "RegistryException.h"

namespace {
LONG OpenKey(TRegKey& key, HKEY root, const char* subkey, REGSAM access) {
    return RegOpenKeyExA(root, subkey, 0, access, key.Receive());
}

const HRESULT OutOfMemory = static_cast<HRESULT>(0x8007000E);
}  // namespace

HRESULT RegResultFromError(LONG error) {
    if (error <= 0)
        return error;
    return static_cast<HRESULT>((static_cast<DWORD>(error) & 0xFFFF) | 0x80070000);
}

HRESULT RegReadDword(HKEY root, const char* subkey, const char* name, DWORD* output) {
    if (output == nullptr)
        return ERROR_INVALID_PARAMETER;
    TRegKey key;
    HRESULT result = RegResultFromError(OpenKey(key, root, subkey, KEY_READ));
    if (result != 0)
        return result;
    DWORD type = 0;
    result = RegResultFromError(RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, nullptr));
    if (result != 0)
        return result;
    if (type != REG_DWORD)
        return RegWrongType;
    DWORD value = 0;  // a shorter value leaves no stale bytes
    DWORD size = sizeof(value);
    result = RegResultFromError(
        RegQueryValueExA(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size));
    if (result == 0)
        *output = value;
    return result;
}

HRESULT RegReadString(HKEY root, const char* subkey, const char* name, std::string* output, REGSAM extraAccess) {
    if (output == nullptr)
        return ERROR_INVALID_PARAMETER;
    TRegKey key;
    HRESULT result = RegResultFromError(OpenKey(key, root, subkey, KEY_READ | extraAccess));
    if (result != 0)
        return result;
    DWORD type = 0, size = 0;
    result = RegResultFromError(RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, &size));
    if (result < 0 && (result & 0xFFFF) != ERROR_MORE_DATA)
        return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return RegWrongType;
    if (size == MAXDWORD)
        return OutOfMemory;
    TLocalFree<char> block(static_cast<char*>(LocalAlloc(LPTR, size + 1)));
    if (block.Get() == nullptr) {
        const DWORD error = GetLastError();
        return error != 0 ? RegResultFromError(error) : OutOfMemory;
    }
    // The block is one byte longer than the value, so the text always ends in a zero.
    result = RegResultFromError(
        RegQueryValueExA(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(block.Get()), &size));
    if (result == 0)
        *output = block.Get();
    return result;
}

bool RegReadInteger(HKEY root, const std::string& subkey, const std::string& name, int* output) {
    *output = 0;
    TRegKey key;
    if (OpenKey(key, root, subkey.c_str(), KEY_READ) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    if (type != REG_DWORD)
        throw ERegistryException("Invalid data type for '" + name + "'");
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
        ERROR_SUCCESS)
        throw ERegistryException("Failed to get data for '" + name + "'");
    *output = static_cast<int>(value);
    return true;
}
