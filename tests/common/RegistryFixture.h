// A registry key of one test's own, filled with raw values and removed afterwards.
#pragma once
#include <windows.h>
#include <string>
#include "Owned.h"

class TTestKey {
public:
    // view: 0, KEY_WOW64_32KEY or KEY_WOW64_64KEY.
    TTestKey(HKEY root, const std::string& path, REGSAM view = 0) : root(root), path(path), view(view) {
        RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, handle.Receive(), nullptr);
    }
    ~TTestKey() {
        handle.Close();
        RegDeleteKeyExA(root, path.c_str(), view, 0);
    }
    TTestKey(const TTestKey&) = delete;
    TTestKey& operator=(const TTestKey&) = delete;

    bool Set(const char* name, DWORD type, const void* data, DWORD size) const {
        return RegSetValueExA(handle.Get(), name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    }
    bool SetText(const char* name, const std::string& text, DWORD type = REG_SZ) const {
        return Set(name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    bool SetDword(const char* name, DWORD value) const { return Set(name, REG_DWORD, &value, sizeof(value)); }

    const std::string& Path() const { return path; }

private:
    HKEY root;
    std::string path;
    REGSAM view;
    TRegKey handle;
};

// A predefined key (HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE) of this process mapped onto a scratch
// key while the object lives, so that what the code under test reads and writes there touches
// nobody else's registry.
class TPredefinedKeyOverride {
public:
    TPredefinedKeyOverride(HKEY predefined, const std::string& name)
        : predefined(predefined),
          path("Software\\Vorsalt-tests\\" + name + "-" + std::to_string(GetCurrentProcessId())) {
        active = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                 scratch.Receive(), nullptr) == ERROR_SUCCESS &&
                 RegOverridePredefKey(predefined, scratch.Get()) == ERROR_SUCCESS;
    }
    ~TPredefinedKeyOverride() {
        RegOverridePredefKey(predefined, nullptr);
        scratch.Close();
        RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    }
    TPredefinedKeyOverride(const TPredefinedKeyOverride&) = delete;
    TPredefinedKeyOverride& operator=(const TPredefinedKeyOverride&) = delete;

    // False when the scratch key could not stand in: the real key is in place.
    bool Active() const { return active; }
    // The scratch key's path under the real HKEY_CURRENT_USER, where another process finds it.
    const std::string& Path() const { return path; }

private:
    bool active = false;
    HKEY predefined;
    std::string path;
    TRegKey scratch;
};
