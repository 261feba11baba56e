#include "StringHelpers.h"
#include <gtest/gtest.h>
#include <cmath>

TEST(StringHelpers, ToUpperCp1251) {
    EXPECT_EQ(ToUpperCp1251("abc xyz"), "ABC XYZ");
    EXPECT_EQ(ToUpperCp1251("text/html; charset=utf-8"), "TEXT/HTML; CHARSET=UTF-8");
    EXPECT_EQ(ToUpperCp1251("абвгдежзийклмнопрстуфхцчшщъыьэюя ё"), "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ Ё");
    EXPECT_EQ(ToUpperCp1251("ЯСК 123 !?"), "ЯСК 123 !?");
    EXPECT_EQ(ToUpperCp1251(""), "");
}

TEST(StringHelpers, IntTexts) {
    EXPECT_EQ(IntToStdString(0), "0");
    EXPECT_EQ(IntToStdString(-42), "-42");
    EXPECT_EQ(IntToStdString(2147483647), "2147483647");
    EXPECT_EQ(IntToHexStdString(0), "0");
    EXPECT_EQ(IntToHexStdString(-1), "ffffffff");
    EXPECT_EQ(IntToHexStdString(0x2EE2), "2ee2");
    EXPECT_EQ(IntToHexStdString(static_cast<int>(0x80004005)), "80004005");
}

TEST(StringHelpers, ReplaceAll) {
    EXPECT_EQ(ReplaceAll("a\r\nb\r\n", "\r\n", ""), "ab");
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("", "\r\n", ""), "");
    EXPECT_EQ(ReplaceAll("x-y-z", "-", "--"), "x--y--z");
}

TEST(StringHelpers, ParseDecimalUInt) {
    struct Case {
        const char* text;
        bool ok;
        unsigned int value;
    };
    const Case cases[] = {
        {"255", true, 255},
        {"", true, 0},
        {"25a", false, 7},
        {"99999999999", false, 7},
        {" 42", true, 42},
        {"-5", true, static_cast<unsigned>(-5)},
        {"2147483647", true, 2147483647u},
        {"2147483648", false, 7},
        {"12 ", false, 7},
    };
    for (const Case& c : cases) {
        unsigned int value = 7;
        EXPECT_EQ(ParseDecimalUInt(c.text, value), c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
    }
    unsigned int value = 7;
    EXPECT_FALSE(ParseDecimalUInt(nullptr, value));
}

TEST(StringHelpers, SplitHostPath) {
    struct Case {
        const char* url;
        bool ok;
        const char* host;
        const char* path;
    };
    const Case cases[] = {
        {"http://ca.example:8080/crl/root.crl?x=1", true, "ca.example:8080", "crl/root.crl?x=1"},
        {"ldap://host/", true, "host", ""},
        {"//host/a", true, "host", "a"},
        {"http://host", false, "old-host", "old-path"},
        {"host/path", false, "old-host", "old-path"},
    };
    for (const Case& c : cases) {
        std::string host = "old-host", path = "old-path";
        EXPECT_EQ(SplitHostPath(c.url, host, path), c.ok) << c.url;
        EXPECT_EQ(host, c.host) << c.url;
        EXPECT_EQ(path, c.path) << c.url;
    }
}

TEST(StringHelpers, MaxFloatAndFileName) {
    EXPECT_EQ(MaxFloat(2.0f, 1.0f), 2.0f);
    EXPECT_EQ(MaxFloat(1.0f, 2.0f), 2.0f);
    const float zero = 0.0f, negativeZero = -0.0f;
    EXPECT_TRUE(std::signbit(MaxFloat(zero, negativeZero)));  // a tie gives the second
    EXPECT_EQ(FileNameFromPath("C:\\dir\\file.bin"), "file.bin");
    EXPECT_EQ(FileNameFromPath("file.bin"), "");
    EXPECT_EQ(FileNameFromPath("C:/dir/file.bin"), "");
    EXPECT_EQ(FileNameFromPath("C:\\dir\\"), "");
}
