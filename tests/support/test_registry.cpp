// Registry readers against the real registry, with values written by the tests themselves.
#include "Registry.h"
#include "RegistryException.h"
#include "RegistryFixture.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
const HRESULT FileNotFound = static_cast<HRESULT>(0x80070002);
const HRESULT MoreData = static_cast<HRESULT>(0x800700EA);
const DWORD UntouchedDword = 0xDEADBEEF;
const char* const UntouchedText = "untouched";

std::string KeyPath(const char* test) {
    return std::string("Software\\VorsaltTests\\Registry\\") + test;
}

struct TRawValue {
    const char* label;
    DWORD type;
    std::string bytes;
};

void Store(const TTestKey& key, const TRawValue& value) {
    ASSERT_TRUE(key.Set(value.label, value.type, value.bytes.data(), static_cast<DWORD>(value.bytes.size())))
        << value.label;
}

std::string Bytes(DWORD value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof(value));
}
}  // namespace

TEST(RegistryResult, ConvertsPlatformErrors) {
    EXPECT_EQ(RegResultFromError(0), 0);
    EXPECT_EQ(RegResultFromError(-5), -5);
    EXPECT_EQ(RegResultFromError(ERROR_FILE_NOT_FOUND), FileNotFound);
    EXPECT_EQ(RegResultFromError(ERROR_MORE_DATA), MoreData);
    EXPECT_EQ(RegResultFromError(0x12345), static_cast<HRESULT>(0x80072345));
}

TEST(RegReadDword, ValuesOfEveryShape) {
    TTestKey key(HKEY_CURRENT_USER, KeyPath("Dword"));
    struct TCase {
        TRawValue value;
        HRESULT result;
        DWORD output;
    } cases[] = {
        {{"plain", REG_DWORD, Bytes(0x12345678)}, 0, 0x12345678},
        {{"", REG_DWORD, Bytes(42)}, 0, 42},  // the key's default value
        {{"short", REG_DWORD, std::string("\x34\x12", 2)}, 0, 0x1234},
        {{"long", REG_DWORD, std::string(8, '\x01')}, MoreData, UntouchedDword},
        {{"empty", REG_DWORD, std::string()}, 0, 0},
        {{"text", REG_SZ, std::string("5\0", 2)}, RegWrongType, UntouchedDword},
        {{"binary", REG_BINARY, Bytes(7)}, RegWrongType, UntouchedDword},
        {{"big-endian", REG_DWORD_BIG_ENDIAN, Bytes(7)}, RegWrongType, UntouchedDword},
    };
    for (const TCase& c : cases)
        Store(key, c.value);
    for (const TCase& c : cases) {
        DWORD output = UntouchedDword;
        EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, key.Path().c_str(), c.value.label, &output), c.result)
            << c.value.label;
        EXPECT_EQ(output, c.output) << c.value.label;
    }
}

TEST(RegReadDword, MissingKeyValueAndOutput) {
    TTestKey key(HKEY_CURRENT_USER, KeyPath("DwordMissing"));
    ASSERT_TRUE(key.SetDword("present", 1));
    DWORD output = UntouchedDword;
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, (key.Path() + "\\absent").c_str(), "present", &output), FileNotFound);
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, key.Path().c_str(), "absent", &output), FileNotFound);
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, key.Path().c_str(), "", &output), FileNotFound);
    EXPECT_EQ(output, UntouchedDword);
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, key.Path().c_str(), "present", nullptr), ERROR_INVALID_PARAMETER);
}

TEST(RegReadString, ValuesOfEveryShape) {
    TTestKey key(HKEY_CURRENT_USER, KeyPath("String"));
    const std::string longText(100000, 'x');
    struct TCase {
        TRawValue value;
        HRESULT result;
        std::string output;
    } cases[] = {
        {{"plain", REG_SZ, std::string("Путь C:\\Вход\0", 13)}, 0, "Путь C:\\Вход"},
        {{"", REG_SZ, std::string("default\0", 8)}, 0, "default"},
        {{"expand", REG_EXPAND_SZ, std::string("%WINDIR%\\x\0", 11)}, 0, "%WINDIR%\\x"},
        {{"empty", REG_SZ, std::string(1, '\0')}, 0, ""},
        {{"no-data", REG_SZ, std::string()}, 0, ""},
        {{"unterminated", REG_SZ, std::string("abc")}, 0, "abc"},
        {{"inner-zero", REG_SZ, std::string("ab\0cd\0", 6)}, 0, "ab"},
        {{"long", REG_SZ, longText + '\0'}, 0, longText},
        {{"number", REG_DWORD, Bytes(5)}, RegWrongType, UntouchedText},
        {{"multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5)}, RegWrongType, UntouchedText},
        {{"binary", REG_BINARY, std::string("abc\0", 4)}, RegWrongType, UntouchedText},
    };
    for (const TCase& c : cases)
        Store(key, c.value);
    for (const TCase& c : cases) {
        std::string output = UntouchedText;
        EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key.Path().c_str(), c.value.label, &output, 0), c.result)
            << c.value.label;
        EXPECT_EQ(output, c.output) << c.value.label;
    }
}

TEST(RegReadString, MissingKeyValueAndOutput) {
    TTestKey key(HKEY_CURRENT_USER, KeyPath("StringMissing"));
    ASSERT_TRUE(key.SetText("present", "v"));
    std::string output = UntouchedText;
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, (key.Path() + "\\absent").c_str(), "present", &output, 0), FileNotFound);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key.Path().c_str(), "absent", &output, 0), FileNotFound);
    EXPECT_EQ(output, UntouchedText);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key.Path().c_str(), "present", nullptr, 0), ERROR_INVALID_PARAMETER);
}

// The 32-bit program sees the redirected view of HKLM\Software unless it asks for the 64-bit one.
TEST(RegReadString, ReadsTheViewAsked) {
    const std::string path = KeyPath("Views");
    TTestKey view32(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY);
    TTestKey view64(HKEY_LOCAL_MACHINE, path, KEY_WOW64_64KEY);
    ASSERT_TRUE(view32.SetText("where", "32-bit"));
    ASSERT_TRUE(view64.SetText("where", "64-bit"));
    ASSERT_TRUE(view64.SetText("only64", "here"));
    std::string output;
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, path.c_str(), "where", &output, 0), 0);
    EXPECT_EQ(output, "32-bit");
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, path.c_str(), "where", &output, KEY_WOW64_64KEY), 0);
    EXPECT_EQ(output, "64-bit");
    output = UntouchedText;
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, path.c_str(), "only64", &output, 0), FileNotFound);
    EXPECT_EQ(output, UntouchedText);
}

TEST(RegReadInteger, ReadsDwordsAndAnswersFalseForMissing) {
    TTestKey key(HKEY_CURRENT_USER, KeyPath("Integer"));
    ASSERT_TRUE(key.SetDword("on", 1));
    ASSERT_TRUE(key.SetDword("negative", 0xFFFFFFFE));
    ASSERT_TRUE(key.Set("short", REG_DWORD, "\x05", 1));
    struct TCase {
        std::string path;
        const char* name;
        bool result;
        int output;
    } cases[] = {
        {key.Path(), "on", true, 1},      {key.Path(), "negative", true, -2},        {key.Path(), "short", true, 5},
        {key.Path(), "absent", false, 0}, {key.Path() + "\\absent", "on", false, 0},
    };
    for (const TCase& c : cases) {
        int output = 77;
        EXPECT_EQ(RegReadInteger(HKEY_CURRENT_USER, c.path, c.name, &output), c.result) << c.name;
        EXPECT_EQ(output, c.output) << c.name;
    }
}

TEST(RegReadInteger, RaisesForValuesOfAnotherType) {
    TTestKey key(HKEY_CURRENT_USER, KeyPath("IntegerWrongType"));
    ASSERT_TRUE(key.SetText("text", "1"));
    ASSERT_TRUE(key.Set("wide", REG_DWORD, "12345678", 8));
    for (const char* name : {"text", "wide"}) {
        int output = 77;
        EXPECT_THROW(RegReadInteger(HKEY_CURRENT_USER, key.Path(), name, &output), ERegistryException) << name;
        EXPECT_EQ(output, 0) << name;
    }
}
