// The generators: trees and the exact texts they give.
#include "Json.h"
#include <gtest/gtest.h>
#include <memory>
#include "GeneralFormatCases.h"

namespace {

// A text to parse and the text a generator writes of its tree.
struct TextCase {
    const wchar_t* json;
    const wchar_t* text;
};

std::wstring Compact(const wchar_t* json) {
    std::unique_ptr<TJsonBase> tree(TJson::ParseText(json));
    EXPECT_NE(tree, nullptr) << std::string(json, json + wcslen(json));
    return TJson::GenerateText(tree.get());
}

std::wstring Number(long double value) {
    std::unique_ptr<TJsonBase> number(TJsonNumber::Generate(value));
    return TJson::GenerateText(number.get());
}

TEST(GenerateText, WritesEachKindWithoutWhitespace) {
    const TextCase cases[] = {
        {L"[]", L"[]"},
        {L"{}", L"{}"},
        {L" [ 1 , true , false , null , \"s\" ] ", L"[1,true,false,null,\"s\"]"},
        {L"{ \"a\" : { \"b\" : [ ] } , \"c\" : 2 }", L"{\"a\":{\"b\":[]},\"c\":2}"},
        {L"{\"a\":1,\"a\":2}", L"{\"a\":1,\"a\":2}"},
        {L"[[[[]]]]", L"[[[[]]]]"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(Compact(c.json), c.text);
    EXPECT_EQ(TJson::GenerateText(nullptr), L"");
    TJsonBase base;
    TJsonCustomList custom;
    custom._Add(TJsonNumber::Generate(1));
    EXPECT_EQ(TJson::GenerateText(&base), L"");
    EXPECT_EQ(TJson::GenerateText(&custom), L"");
    std::unique_ptr<TJsonBase> pair(TJsonObjectMethod::Generate(L"n", TJsonBoolean::Generate(true)));
    EXPECT_EQ(TJson::GenerateText(pair.get()), L"\"n\":true");
}

TEST(GenerateText, NumbersInTheGeneralFormat) {
    for (const TGeneralFormatCase& c : GeneralFormatCases)
        EXPECT_EQ(Number(c.value), c.text) << c.text;
    // The parser's extended value keeps digits a double would round away.
    EXPECT_EQ(Compact(L"[1e4000, 1.00000000000000049]"), L"[1E4000,1]");
    EXPECT_EQ(Compact(L"[0.1, 100, 2.5e-3]"), L"[0.1,100,0.0025]");
}

// A text and how the generator writes it.
struct TWrittenText {
    std::wstring value;
    const wchar_t* text;
};

TEST(GenerateText, StringEscapes) {
    const TWrittenText cases[] = {
        {L"\" / \\ \t \x0001", L"\"\\\" \\/ \\\\ \\t \\u0001\""},
        {L"\b\f\n\r", L"\"\\b\\f\\n\\r\""},
        {std::wstring(L"\x0000\x001F\x007F", 3), L"\"\\u0000\\u001F\x007F\""},
        {L"\x041A\x0438\x0440\x0438\x043B\x043B\x0438\x0446\x0430",
         L"\"\x041A\x0438\x0440\x0438\x043B\x043B\x0438\x0446\x0430\""},
        {L"\xD83D\xDE00 \x20AC \xFFFF", L"\"\xD83D\xDE00 \x20AC \xFFFF\""},
        // An unpaired surrogate is written as an escape: the text stays readable, and reads back
        // to the same code unit.
        {L"\xD800", L"\"\\uD800\""},
        {L"a\xDC00"
         L"b",
         L"\"a\\uDC00b\""},
        {L"\xDE00\xD83D", L"\"\\uDE00\\uD83D\""},
        {L"'", L"\"'\""},
    };
    for (const TWrittenText& c : cases) {
        std::unique_ptr<TJsonBase> text(TJsonString::Generate(c.value));
        EXPECT_EQ(TJson::GenerateText(text.get()), c.text);
        std::unique_ptr<TJsonBase> back(TJson::ParseText(c.text));
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetValue().AsString(), c.value);
    }
    std::unique_ptr<TJsonObject> object(TJsonObject::Generate());
    object->Add(L"na\"me", 1);
    EXPECT_EQ(TJson::GenerateText(object.get()), L"{\"na\\\"me\":1}");
}

// Long texts are written in runs of plain characters: each escape at each place of a run, and
// a text longer than a block of the writer, escapes on both sides of its ends.
TEST(GenerateText, EscapesInsideLongRuns) {
    const TWrittenText cases[] = {
        {L"\"", L"\\\""},
        {L"/", L"\\/"},
        {L"\\", L"\\\\"},
        {L"\x0001", L"\\u0001"},
        {L"\x001F", L"\\u001F"},
        {L" ", L" "},
        {L"\x007F", L"\x007F"},
        {L"\xD7FF", L"\xD7FF"},
        {L"\xD800", L"\\uD800"},
        {L"\xDFFF", L"\\uDFFF"},
        {L"\xD83D\xDE00", L"\xD83D\xDE00"},
        {L"\xE000", L"\xE000"},
    };
    for (const TWrittenText& c : cases) {
        for (size_t at = 0; at <= 20; ++at) {
            const std::wstring value = std::wstring(at, L'a') + c.value + std::wstring(20 - at, L'b');
            std::unique_ptr<TJsonBase> text(TJsonString::Generate(value));
            EXPECT_EQ(TJson::GenerateText(text.get()),
                      L"\"" + std::wstring(at, L'a') + c.text + std::wstring(20 - at, L'b') + L"\"")
                << at;
        }
    }
    std::wstring value;
    for (int i = 0; value.size() < 100000; ++i)
        value += std::wstring(i % 40, L'x') + L"\n\xD83D\xDE00\"\x0410";
    std::unique_ptr<TJsonList> list(TJsonList::Generate());
    list->Add(value);
    list->Add(value);
    const std::wstring text = TJson::GenerateText(list.get());
    std::unique_ptr<TJsonBase> back(TJson::ParseText(text));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetChild(0)->GetValue().AsString(), value);
    EXPECT_EQ(back->GetChild(1)->GetValue().AsString(), value);
    EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
}

// Containers nested deeper than the parser reads are written, in order.
TEST(GenerateText, DeepTrees) {
    const int depth = 3000;
    std::unique_ptr<TJsonList> root(TJsonList::Generate());
    TJsonCustomList* inner = root.get();
    for (int i = 1; i < depth; ++i) {
        if (i % 2) {
            TJsonObject* object = TJsonObject::Generate();
            inner->_Add(object);
            inner = object;
        } else {
            TJsonList* list = TJsonList::Generate();
            static_cast<TJsonObject*>(inner)->Add(L"k", list);
            list->Add(i);
            inner = list;
        }
    }
    std::wstring expected;
    for (int i = 0; i < depth; ++i)
        expected += i % 2 ? L"{" : (i ? L"\"k\":[" + std::to_wstring(i) + L"," : L"[");
    for (int i = depth - 1; i >= 0; --i)
        expected += i % 2 ? L"}" : L"]";
    EXPECT_EQ(TJson::GenerateText(root.get()), expected);
}

TEST(GenerateText, ANullInsideAContainerIsWrittenNull) {
    TJsonList list;
    list.Add(1);
    list.Add(2);
    list.Add(3);
    list.SetChild(1, nullptr);
    EXPECT_EQ(TJson::GenerateText(&list), L"[1,null,3]");
    TJsonObject object;
    object.Add(L"n", TJsonNull::Generate());
    object.OldSetField(L"n", nullptr);  // the previous value comes back to us
    object.Add(L"m", 1);
    EXPECT_EQ(TJson::GenerateText(&object), L"{\"n\":null,\"m\":1}");
    int level = 0;
    EXPECT_EQ(GenerateReadableText(&list, level), L"[\r\n  1,\r\n  null,\r\n  3\r\n]");
    std::unique_ptr<TJsonBase> back(TJson::ParseText(TJson::GenerateText(&object)));
    EXPECT_NE(back, nullptr);
}

TEST(GenerateReadableText, OneMemberOrItemPerLine) {
    const TextCase cases[] = {
        {L"{\"a\":[1,2],\"b\":{}}", L"{\r\n  \"a\":[\r\n    1,\r\n    2\r\n  ],\r\n  \"b\":{}\r\n}"},
        {L"[]", L"[]"},
        {L"{}", L"{}"},
        {L"5", L"5"},
        {L"\"s\"", L"\"s\""},
        {L"[[1],{\"k\":[{}]}]", L"[\r\n  [\r\n    1\r\n  ],\r\n  {\r\n    \"k\":[\r\n      {}\r\n    ]\r\n  }\r\n]"},
    };
    for (const TextCase& c : cases) {
        std::unique_ptr<TJsonBase> tree(TJson::ParseText(c.json));
        int level = 0;
        EXPECT_EQ(GenerateReadableText(tree.get(), level), c.text);
        EXPECT_EQ(level, 0);
    }
    int level = 0;
    EXPECT_EQ(GenerateReadableText(nullptr, level), L"");
    // A pair on its own, and a pair as an item of a list.
    std::unique_ptr<TJsonBase> pair(TJsonObjectMethod::Generate(L"n", TJson::ParseText(L"[1]")));
    EXPECT_EQ(GenerateReadableText(pair.get(), level), L"\"n\":[\r\n  1\r\n]");
    TJsonList holder;
    holder.Add(TJsonObjectMethod::Generate(L"m", TJson::ParseText(L"{\"k\":2}")));
    EXPECT_EQ(GenerateReadableText(&holder, level), L"[\r\n  \"m\":{\r\n    \"k\":2\r\n  }\r\n]");
    EXPECT_EQ(TJson::GenerateText(&holder), L"[\"m\":{\"k\":2}]");
    EXPECT_EQ(level, 0);
    std::unique_ptr<TJsonBase> tree(TJson::ParseText(L"[1]"));
    level = 2;  // the caller's depth indents the items
    EXPECT_EQ(GenerateReadableText(tree.get(), level), L"[\r\n      1\r\n    ]");
    EXPECT_EQ(level, 2);
}

TEST(GenerateText, LargeDocumentsWriteCompletely) {
    TJsonList list;
    for (int i = 0; i < 100000; ++i)
        list.Add(i);
    const std::wstring text = TJson::GenerateText(&list);
    EXPECT_EQ(text.substr(0, 6), L"[0,1,2");
    EXPECT_EQ(text.substr(text.size() - 7), L",99999]");
    std::unique_ptr<TJsonBase> back(TJson::ParseText(text));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Count(), 100000);
}

}  // namespace
