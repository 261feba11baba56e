#include <gtest/gtest.h>
#include <cstring>
#include <vector>
#include "LocalFree.h"
#include "ResponseText.h"

namespace {
// The conversion's text, "<null>" when it gave no block.
std::string Convert(const std::string& contentType, const std::vector<char>& body) {
    TLocalFree<char> text(ResponseTextToAnsi(contentType, body.data(), static_cast<int>(body.size())));
    return text.Get() != nullptr ? std::string(text.Get()) : std::string("<null>");
}

std::vector<char> Bytes(const char* data, size_t length) {
    return std::vector<char>(data, data + length);
}

const std::vector<char> Utf8Privet = Bytes("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", 12);
const std::vector<char> Utf16Da = Bytes("\x14\x04\x30\x04", 4);  // no terminating NUL
}  // namespace

TEST(ResponseTextToAnsi, ChoosesTheConversionByTheCharsetName) {
    const struct {
        const char* type;
        const std::vector<char>* body;
        const char* text;
    } cases[] = {
        {"text/plain; charset=utf-8", &Utf8Privet, "Привет"},
        {"text/plain; charset=UTF-8", &Utf8Privet, "Привет"},
        {"text/plain;charset=\"Utf-8\"", &Utf8Privet, "Привет"},
        {"utf-8", &Utf8Privet, "Привет"},
        {"text/html; charset=utf-16", &Utf16Da, "Да"},
        {"text/html; charset=UTF-16LE", &Utf16Da, "Да"},
        {"text/html; charset=utf-16be", &Utf16Da, "Да"},  // machine byte order whatever the name says
        {"text/html; charset=utf8", &Utf8Privet, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
        {"text/html; charset=utf16", &Utf16Da,
         "\x14\x04"
         "0\x04"},
        {"text/html; charset=windows-1251", &Utf8Privet, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
        {"", &Utf8Privet, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Convert(c.type, *c.body), c.text) << c.type;
}

TEST(ResponseTextToAnsi, Utf16StopsAtANulOrTheEndOfTheBody) {
    const std::vector<char> withNul = Bytes("\x14\x04\0\0\x30\x04", 6);
    EXPECT_EQ(Convert("UTF-16", withNul), "Д");
    // Odd byte count: the half unit at the end is not read.
    EXPECT_EQ(Convert("UTF-16", Bytes("\x14\x04\x30\x04\x41", 5)), "Да");
    // A body that holds no NUL at all is read only within its bytes.
    std::vector<char> guarded = Utf16Da;
    guarded.insert(guarded.end(), {'\x41', '\0', '\0', '\0'});
    TLocalFree<char> text(ResponseTextToAnsi("UTF-16", guarded.data(), 4));
    ASSERT_NE(text.Get(), nullptr);
    EXPECT_STREQ(text.Get(), "Да");
}

TEST(ResponseTextToAnsi, BytesAreCopiedWithAZeroAfterThem) {
    const std::vector<char> body = Bytes("ab\0cd", 5);
    TLocalFree<char> text(ResponseTextToAnsi("text/plain", body.data(), 5));
    ASSERT_NE(text.Get(), nullptr);
    EXPECT_EQ(std::memcmp(text.Get(), "ab\0cd\0", 6), 0);
}

TEST(ResponseTextToAnsi, NothingToConvertGivesNoOverrun) {
    EXPECT_EQ(ResponseTextToAnsi("utf-8", nullptr, 10), nullptr);
    EXPECT_EQ(ResponseTextToAnsi("", "abc", -1), nullptr);
    EXPECT_EQ(ResponseTextToAnsi("utf-8", "abc", -1), nullptr);  // -1 would otherwise read to a NUL
    EXPECT_EQ(Convert("utf-16", Bytes("", 0)), "<null>");
    EXPECT_EQ(Convert("utf-16", Bytes("\0\0", 2)), "<null>");
    EXPECT_EQ(Convert("text/plain", Bytes("", 0)), "");
}

TEST(DecodeNumericCharRefs, DecodesThreeDigitReferencesAbove192) {
    const struct {
        const char* text;
        const char* decoded;
    } cases[] = {
        {"a&#207;b", "aПb"},
        {"&#207;&#240;&#232;", "При"},
        {"&#193;", "Б"},
        {"&#255;", "я"},
        {"&#192;", "&#192;"},
        {"&#065;", "&#065;"},
        {"&#65;", "&#65;"},
        {"&#1040;", "&#1040;"},
        {"x&#2", "x&#2"},
        {"&#", "&#"},
        {"&#;", "&#;"},
        {"&#abc;", "&#abc;"},
        {"&#-50;", "&#-50;"},
        {"&# 50;", "&# 50;"},
        {"&#+99;", "&#+99;"},
        {"&#463;", "\xCF"},  // 463 mod 256 = 207
        {"&#999;", "\xE7"},
        {"&#256;x&#512;&#768;", "&#256;x&#512;&#768;"},  // would be a NUL byte
        {"&#192;&#207;", "&#192;П"},
        {"&#&#207;", "&#&#207;"},  // the search goes on after the first ";"
        {"", ""},
        {"plain text;", "plain text;"},
        {"&#207", "&#207"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeNumericCharRefs(c.text), c.decoded) << c.text;
}
