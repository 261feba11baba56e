// The per-user back-end choice of a test ("http_type" under HKCU\SOFTWARE\QMR\Config, which every
// program of the prefix reads): none at the start, removed at the end.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include "Owned.h"

class THttpTypeValue {
public:
    static constexpr const char* ConfigKey = "SOFTWARE\\QMR\\Config";

    THttpTypeValue() { Remove(); }
    ~THttpTypeValue() { Remove(); }
    THttpTypeValue(const THttpTypeValue&) = delete;
    THttpTypeValue& operator=(const THttpTypeValue&) = delete;

    // A value of any registry type and content.
    void Set(DWORD type, const void* data, DWORD size) {
        TRegKey key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ConfigKey, 0, nullptr, 0, KEY_WRITE, nullptr, key.Receive(),
                                  nullptr),
                  0);
        EXPECT_EQ(RegSetValueExA(key.Get(), "http_type", 0, type, static_cast<const BYTE*>(data), size), 0);
    }
    void SetDword(DWORD value) { Set(REG_DWORD, &value, sizeof value); }
    void Remove() { RegDeleteKeyA(HKEY_CURRENT_USER, ConfigKey); }
};
