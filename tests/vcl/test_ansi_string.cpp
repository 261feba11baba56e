// AnsiString and WideString: cp1251 text, 1-based positions, the BSTR a WideString owns.
#include "AnsiString.h"
#include "WideString.h"
#include <gtest/gtest.h>

namespace {

TEST(AnsiString, ConvertsToAndFromUtf16InCodePage1251) {
    struct Case {
        std::wstring wide;
        std::string ansi;
    };
    const Case cases[] = {
        {L"", ""},
        {L"abc", "abc"},
        {L"\x041E\x0448\x0438\x0431\x043A\x0430", "\xCE\xF8\xE8\xE1\xEA\xE0"},  // Ошибка
        {L"\x2116 \x00AB\x00BB", "\xB9 \xAB\xBB"},                              // № «»
        {L"\x4E2D", "?"},                                                       // not in the code page
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AnsiString(c.wide).str(), c.ansi);
        if (c.ansi != "?") {
            EXPECT_EQ(AnsiString(c.ansi).ToWide(), c.wide);
        }
    }
}

TEST(AnsiString, PositionsStartAtOne) {
    AnsiString text("abcabc");
    EXPECT_EQ(text.Length(), 6);
    EXPECT_EQ(text[1], 'a');
    EXPECT_EQ(text[6], 'c');
    EXPECT_THROW(text[0], ERangeError);
    EXPECT_THROW(text[7], ERangeError);
    text[1] = 'x';
    EXPECT_EQ(text, AnsiString("xbcabc"));

    struct Case {
        const char* part;
        int pos;
    };
    for (const Case& c : {Case{"bc", 2}, Case{"cab", 3}, Case{"z", 0}, Case{"", 0}, Case{"xbcabcx", 0}})
        EXPECT_EQ(text.Pos(c.part), c.pos) << c.part;

    struct Sub {
        int index, count;
        const char* result;
    };
    for (const Sub& s : {Sub{1, 3, "xbc"}, Sub{4, 99, "abc"}, Sub{6, 1, "c"}, Sub{7, 1, ""}, Sub{0, 2, "x"},
                         Sub{2, 0, ""}, Sub{-5, 3, ""}})
        EXPECT_EQ(text.SubString(s.index, s.count), AnsiString(s.result)) << s.index << "," << s.count;
}

TEST(AnsiString, ConcatenatesAndCompares) {
    AnsiString text("Ab");
    text += "c";
    EXPECT_EQ(text + AnsiString(12), AnsiString("Abc12"));
    EXPECT_TRUE(AnsiString("a") < AnsiString("b"));
    EXPECT_TRUE(AnsiString(static_cast<const char*>(nullptr)).IsEmpty());
    EXPECT_EQ(AnsiString("a\0b", 3).Length(), 3);
}

TEST(WideString, OwnsItsAutomationString) {
    WideString empty;
    EXPECT_EQ(empty.c_bstr(), nullptr);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(WideString(L"").c_bstr(), nullptr);

    WideString text(std::wstring(L"a\0b", 3));
    EXPECT_EQ(text.Length(), 3);
    EXPECT_EQ(SysStringLen(text.c_bstr()), 3u);

    WideString copy(text);
    EXPECT_NE(copy.c_bstr(), text.c_bstr());
    EXPECT_EQ(copy, text);

    BSTR raw = SysAllocString(L"held");
    WideString attached = WideString::Attach(raw);
    EXPECT_EQ(attached.c_bstr(), raw);  // no copy
    BSTR out = attached.Detach();
    EXPECT_EQ(out, raw);
    EXPECT_TRUE(attached.IsEmpty());
    SysFreeString(out);
}

}  // namespace
