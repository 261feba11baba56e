// Conversions through the system ANSI code page (1251 in the test locale), UTF-8 and UTF-16.
#include "Conversions.h"
#include "LocalFree.h"
#include "SysString.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {
const char russianAnsi[] = "Ошибка, ёлка и ЯСК";  // cp1251 bytes
const wchar_t russianWide[] =
    L"\u041e\u0448\u0438\u0431\u043a\u0430, \u0451\u043b\u043a\u0430 \u0438 \u042f\u0421\u041a";
const char russianUtf8[] =
    "\xd0\x9e\xd1\x88\xd0\xb8\xd0\xb1\xd0\xba\xd0\xb0, \xd1\x91\xd0\xbb\xd0\xba\xd0\xb0 \xd0\xb8 "
    "\xd0\xaf\xd0\xa1\xd0\x9a";

bool IsLocalBlock(const void* block) {
    return HeapValidate(GetProcessHeap(), 0, block) != FALSE;
}
}  // namespace

TEST(Conversions, TestLocaleUsesCp1251) {
    ASSERT_EQ(GetACP(), 1251u) << "tests expect the Russian locale (LC_ALL=ru_RU.UTF-8)";
}

TEST(Conversions, LocalAllocCopyTerminates) {
    TLocalFree<char> copy(LocalAllocCopy("abcdef", 3));
    ASSERT_NE(copy.Get(), nullptr);
    EXPECT_TRUE(IsLocalBlock(copy.Get()));
    EXPECT_EQ(LocalSize(copy.Get()), 4u);
    EXPECT_STREQ(copy.Get(), "abc");

    TLocalFree<char> empty(LocalAllocCopy("abc", 0));
    ASSERT_NE(empty.Get(), nullptr);
    EXPECT_EQ(LocalSize(empty.Get()), 1u);
    EXPECT_EQ(empty.Get()[0], 0);
}

TEST(Conversions, LocalBlobCopyHoldsTheBytesInALocalBlock) {
    CRYPT_DATA_BLOB blob{};
    ASSERT_TRUE(LocalBlobCopy("\x30\x00\x01", 3, blob));
    TLocalFree<BYTE> owner(blob.pbData);
    EXPECT_TRUE(IsLocalBlock(blob.pbData));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(blob.pbData), blob.cbData), std::string("\x30\x00\x01", 3));

    CRYPT_DATA_BLOB empty{};
    ASSERT_TRUE(LocalBlobCopy(nullptr, 0, empty));
    TLocalFree<BYTE> emptyOwner(empty.pbData);
    EXPECT_NE(empty.pbData, nullptr);  // a block the caller frees, as for any other answer
    EXPECT_EQ(empty.cbData, 0u);
}

TEST(Conversions, IsTextBufferLooksAtFirstBytesOnly) {
    const unsigned char der[] = {0x30, 0x82, 0x01, 0x00, 0x30};
    EXPECT_FALSE(IsTextBuffer(der, sizeof der));
    EXPECT_TRUE(IsTextBuffer(der, 3));
    EXPECT_TRUE(IsTextBuffer("MIIBCgKCAQEA", 12));
    EXPECT_TRUE(IsTextBuffer(der, 0));
}

TEST(Conversions, WideToAnsi) {
    TLocalFree<char> russian(WideToAnsi(russianWide));
    ASSERT_NE(russian.Get(), nullptr);
    EXPECT_TRUE(IsLocalBlock(russian.Get()));
    EXPECT_STREQ(russian.Get(), russianAnsi);

    EXPECT_EQ(WideToAnsi(L""), nullptr);
    EXPECT_EQ(WideToAnsi(nullptr), nullptr);

    // Characters that cp1251 lacks become the platform's default character, one byte each.
    TLocalFree<char> foreign(WideToAnsi(L"a\u4e2d\u20acb"));
    ASSERT_NE(foreign.Get(), nullptr);
    EXPECT_STREQ(foreign.Get(),
                 "a?\x88"
                 "b");
}

TEST(Conversions, Utf8ToAnsi) {
    struct Case {
        const char* utf8;
        int length;
        const char* ansi;
    };
    const Case cases[] = {
        {russianUtf8, static_cast<int>(sizeof russianUtf8 - 1), russianAnsi},
        {russianUtf8, -1, russianAnsi},
        {"plain", 3, "pla"},
        {"", 0, ""},
        {"\xe4\xb8\xad", 3, "?"},
    };
    for (const Case& c : cases) {
        TLocalFree<char> ansi(Utf8ToAnsi(c.utf8, c.length));
        ASSERT_NE(ansi.Get(), nullptr) << c.ansi;
        EXPECT_TRUE(IsLocalBlock(ansi.Get()));
        EXPECT_STREQ(ansi.Get(), c.ansi);
    }
    TLocalFree<char> none(Utf8ToAnsi(nullptr, 5));
    ASSERT_NE(none.Get(), nullptr);
    EXPECT_STREQ(none.Get(), "");
}

TEST(Conversions, AnsiToBstr) {
    int count = -1;
    TSysString russian(AnsiToBstr(russianAnsi, static_cast<int>(std::strlen(russianAnsi)), &count));
    ASSERT_NE(russian.Get(), nullptr);
    EXPECT_EQ(count, static_cast<int>(std::wcslen(russianWide)));
    EXPECT_EQ(SysStringLen(russian.Get()), std::wcslen(russianWide));
    EXPECT_STREQ(russian.Get(), russianWide);

    TSysString part(AnsiToBstr("abcdef", 2, &count));
    EXPECT_EQ(count, 2);
    EXPECT_STREQ(part.Get(), L"ab");

    TSysString empty(AnsiToBstr("abc", 0, &count));
    ASSERT_NE(empty.Get(), nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(SysStringLen(empty.Get()), 0u);

    TSysString whole(AnsiToBstrZ(russianAnsi));
    EXPECT_STREQ(whole.Get(), russianWide);
    TSysString fromNull(AnsiToBstrZ(nullptr));
    ASSERT_NE(fromNull.Get(), nullptr);
    EXPECT_EQ(SysStringLen(fromNull.Get()), 0u);
}

TEST(Conversions, StringRoundTrips) {
    const std::string texts[] = {russianAnsi, "", "Latin and Кириллица \x88 123"};
    for (const std::string& text : texts)
        EXPECT_EQ(WStringToString(StringToWString(text)), text);
    EXPECT_EQ(StringToWString(russianAnsi), russianWide);
    EXPECT_EQ(WStringToString(russianWide), russianAnsi);
    EXPECT_EQ(WStringToString(L"\u4e2d"), "?");
    // A wide string is cut at an embedded NUL of the ANSI text.
    EXPECT_EQ(StringToWString(std::string("ab\0cd", 5)), L"ab");
}
