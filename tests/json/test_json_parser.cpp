// The parser: texts and the trees they give (or null), grouped by rule.
#include "Json.h"
#include "TreeText.h"
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

struct Case {
    const wchar_t* text;
    const char* tree;
};  // tree null: the text does not parse

void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases)
        EXPECT_EQ(Parsed(c.text), c.tree ? c.tree : "null") << std::string(c.text, c.text + wcslen(c.text));
}

TEST(ParseText, Words) {
    Check({{L"true", "T"},
           {L"false", "F"},
           {L"null", "Z"},
           {L"  \t\r\n true", "T"},
           {L"True", nullptr},
           {L"FALSE", nullptr},
           {L"Null", nullptr},
           {L"nul", nullptr},
           {L"tru", nullptr},
           {L"true false", "T"},
           {L"truex", "T"},
           {L"[truex]", nullptr},
           {L"[true]", "[T]"}});
}

TEST(ParseText, Numbers) {
    Check({{L"0", "N0"},
           {L"-0", "N0"},
           {L"12", "N1.20000000000000e1"},
           {L"+1.5E+3", "N1.50000000000000e3"},
           {L"-2.5e-3", "N-2.50000000000000e-3"},
           {L"007", "N7.00000000000000e0"},
           {L"1e400", "Ninf"},
           {L"-1e400", "N-inf"},
           {L"1.", nullptr},
           {L".5", nullptr},
           {L"-", nullptr},
           {L"+", nullptr},
           {L"1e", nullptr},
           {L"1e+", nullptr},
           {L"1.e5", nullptr},
           {L"[1.]", nullptr},
           {L"1.5.5", "N1.50000000000000e0"},
           {L"123456789012345678901234567890", "N1.23456789012346e29"},
           {L"1e4933", nullptr},
           {L"[1e99999]", nullptr},
           {L"1e-99999", "N0"},
           {L"0x10", "N0"},
           {L"2,5", "N2.00000000000000e0"}});
}

TEST(ParseText, Strings) {
    Check(
        {{L"\"\"", "S\"\""},
         {L"\"abc\"", "S\"abc\""},
         {L"\"\\\" \\' \\/ \\\\ \\b \\f \\n \\r \\t\"", "S\"\\x{22} ' / \\x{5C} \\x{8} \\x{C} \\x{A} \\x{D} \\x{9}\""},
         {L"\"a\\qb\"", "S\"ab\""},
         {L"\"\\u0041\\u00e9\\u00C9\"", "S\"A\\x{E9}\\x{C9}\""},
         {L"\"\\uD83D\\uDE00\"", "S\"\\x{D83D}\\x{DE00}\""},
         {L"\"\\uDFAA\"", "S\"\\x{DFAA}\""},
         {L"\"\\u00zz\"", nullptr},
         {L"\"\\u41\"", "S\"A\""},
         {L"\"\\u4\"", "S\"\\x{4}\""},
         {L"\"\\u\"", nullptr},
         {L"\"abc", nullptr},
         {L"\"ab\\\"", nullptr},
         {L"\"a\\\\\"b\"", "S\"a\\x{5C}\""},
         {L"\"\x041A\x0438\x0440\x0438\x043B\x043B\x0438\x0446\x0430\"",
          "S\"\\x{41A}\\x{438}\\x{440}\\x{438}\\x{43B}\\x{43B}\\x{438}\\x{446}\\x{430}\""},
         {L"\"tab\there\"", "S\"tab\\x{9}here\""},
         {L"'single'", nullptr}});
}

TEST(ParseText, Lists) {
    Check({{L"[]", "[]"},
           {L"[ ]", "[]"},
           {L"[1,2 3,] tail", "[N1.00000000000000e0 N2.00000000000000e0 N3.00000000000000e0]"},
           {L"[1,]", "[N1.00000000000000e0]"},
           {L"[1,,2]", nullptr},
           {L"[,1]", nullptr},
           {L"[1", nullptr},
           {L"[", nullptr},
           {L"[[[]]]", "[[[]]]"},
           {L"[true\"a\"null]", "[T S\"a\" Z]"},
           {L"[1}", nullptr}});
}

TEST(ParseText, Objects) {
    Check({{L"{}", "{}"},
           {L"{\"a\":1 \"b\":true}", "{\"a\"=N1.00000000000000e0 \"b\"=T}"},
           {L"{\"a\":1,}", "{\"a\"=N1.00000000000000e0}"},
           {L"{\"a\":}", nullptr},
           {L"{a:1}", nullptr},
           {L"{\"a\" : [ ] , \"b\" : { } }", "{\"a\"=[] \"b\"={}}"},
           {L"{\"a\"}", nullptr},
           {L"{\"a\":1", nullptr},
           {L"{\"a\":1,\"a\":2}", "{\"a\"=N1.00000000000000e0 \"a\"=N2.00000000000000e0}"},
           {L"{,}", nullptr},
           {L"{\"\":0}", "{\"\"=N0}"},
           {L"{\"a\\u0062\":0}", "{\"ab\"=N0}"}});
}

TEST(ParseText, StartAndEnd) {
    const std::wstring mark = L"\x043F\x00BB\x0457";
    Check({{L"", nullptr},
           {L"   ", nullptr},
           {mark.c_str(), nullptr},
           {(mark + L"{}").c_str(), "{}"},
           {(mark + L" [1]").c_str(), "[N1.00000000000000e0]"},
           {L"\xFEFF{}", nullptr},
           {L"{} {}", "{}"},
           {L"[1] garbage", "[N1.00000000000000e0]"},
           {L"x", nullptr}});
}

TEST(ParseText, RepeatedNamesKeepBothPairsAndTheIndexTheFirst) {
    std::unique_ptr<TJsonBase> tree(TJson::ParseText(L"{\"a\":1,\"b\":2,\"a\":3}"));
    auto* object = dynamic_cast<TJsonObject*>(tree.get());
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->UseHash());
    EXPECT_EQ(object->Count(), 3);
    EXPECT_EQ(object->IndexOfName(L"a"), 0);
    EXPECT_EQ(object->getInt(L"a"), 1);
    EXPECT_EQ(object->getInt(L"b"), 2);
}

TEST(ParseText, AnObjectHoldsItsPairs) {
    std::unique_ptr<TJsonBase> tree(TJson::ParseText(L"{\"a\":1,\"b\":2}"));
    auto* object = dynamic_cast<TJsonObject*>(tree.get());
    ASSERT_NE(object, nullptr);
    auto* pair = static_cast<TJsonObjectMethod*>(object->GetChild(1));
    pair->SetName(L"c");
    EXPECT_EQ(object->IndexOfName(L"c"), 1);
    EXPECT_EQ(object->IndexOfName(L"b"), -1);
    TJsonObject other;
    EXPECT_EQ(other._Add(pair), -1);
}

// The index of a parsed object is built on the first lookup; changes made before it count.
TEST(ParseText, AnObjectIsIndexedWhenFirstAsked) {
    std::unique_ptr<TJsonBase> tree(TJson::ParseText(L"{\"a\":1,\"b\":2,\"c\":3}"));
    auto* object = static_cast<TJsonObject*>(tree.get());
    EXPECT_EQ(object->HashTable()->IndexOf(L"b"), 1);

    tree.reset(TJson::ParseText(L"{\"a\":1,\"b\":2,\"c\":3}"));
    object = static_cast<TJsonObject*>(tree.get());
    object->Add(L"d", 4);
    object->Add(L"a", 5);
    object->Delete(0);  // the second a takes the first place
    static_cast<TJsonObjectMethod*>(object->GetChild(1))->SetName(L"e");
    EXPECT_EQ(Describe(object),
              "{\"a\"=N5.00000000000000e0 \"e\"=N2.00000000000000e0 \"c\"=N3.00000000000000e0 "
              "\"d\"=N4.00000000000000e0}");
    const std::pair<const wchar_t*, int> found[] = {{L"a", 0}, {L"b", -1}, {L"c", 2}, {L"d", 3}, {L"e", 1}};
    for (const auto& [name, position] : found)
        EXPECT_EQ(object->IndexOfName(name), position) << name;
}

TEST(ParseText, NestingIsBounded) {
    const int limit = TJson::MaxDepth;
    EXPECT_GE(limit, 500);
    const auto nested = [](int depth, const wchar_t* open, const wchar_t* inner, const wchar_t* close) {
        std::wstring text;
        for (int i = 0; i < depth; ++i)
            text += open;
        text += inner;
        for (int i = 0; i < depth; ++i)
            text += close;
        return text;
    };
    std::unique_ptr<TJsonBase> lists(TJson::ParseText(nested(limit, L"[", L"", L"]")));
    EXPECT_NE(lists, nullptr);
    std::unique_ptr<TJsonBase> objects(TJson::ParseText(nested(limit, L"{\"a\":", L"0", L"}")));
    EXPECT_NE(objects, nullptr);
    std::unique_ptr<TJsonBase> mixed(TJson::ParseText(nested(limit / 2, L"[{\"a\":", L"1", L"}]")));
    EXPECT_NE(mixed, nullptr);
    EXPECT_EQ(TJson::ParseText(nested(limit + 1, L"[", L"", L"]")), nullptr);
    EXPECT_EQ(TJson::ParseText(nested(limit + 1, L"{\"a\":", L"0", L"}")), nullptr);
    EXPECT_EQ(TJson::ParseText(std::wstring(100000, L'[')), nullptr);
    EXPECT_EQ(TJson::ParseText(nested(100000, L"{\"a\":[", L"", L"]}")), nullptr);
}

}  // namespace
