// Text files as the string list reads them: the byte-order mark picks the encoding, and every
// kind of line end ends a line.
#include "Text.h"
#include "TextLines.h"
#include <gtest/gtest.h>

namespace {

TEST(TextFromFileBytes, TheMarkPicksTheEncoding) {
    struct Case {
        const char* kind;
        std::string bytes;
        std::string text;  // cp1251
    };
    const Case cases[] = {
        {"ANSI", "\xCE\xF8\xE8\xE1\xEA\xE0", "\xCE\xF8\xE8\xE1\xEA\xE0"},  // Ошибка
        {"empty", "", ""},
        {"UTF-8", "\xEF\xBB\xBF\xD0\x9E\xD1\x88 \xE4\xB8\xAD", "\xCE\xF8 ?"},  // Ош and a character cp1251 lacks
        {"UTF-8, the mark alone", "\xEF\xBB\xBF", ""},
        {"UTF-16LE", std::string("\xFF\xFE\x1E\x04" "a\0", 6), "\xCE" "a"},
        {"UTF-16BE, an odd last byte", std::string("\xFE\xFF\x04\x1E\0a\x04", 7), "\xCE" "a"},
        {"a mark of UTF-16 cut short", "\xFF", "\xFF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vcl::TextFromFileBytes(c.bytes), c.text) << c.kind;
}

TEST(SplitLines, EachLineEndEndsALine) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\r", {"a"}},
        {"a\n\n", {"a", ""}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vcl::SplitLines(c.text), c.lines) << c.text;
}

TEST(Utf8ToWide, ConvertsWholeTexts) {
    EXPECT_EQ(vcl::Utf8ToWide(""), L"");
    EXPECT_EQ(vcl::Utf8ToWide("a\xD0\x9E\xF0\x9F\x98\x80"), L"a\x041E\xD83D\xDE00");
}

}  // namespace
