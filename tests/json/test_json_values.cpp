// The value tree: kinds, ownership, the typed getters, ForEach, and an object's index kept in
// step with its list.
#include "Json.h"
#include "TreeText.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include <memory>
#include <random>

namespace {

// Counts its own destructions.
struct Tracked : TJsonNull {
    explicit Tracked(int& freed) : freed(freed) {}
    ~Tracked() override { ++freed; }
    int& freed;
};

std::string D(TJsonBase* value) {
    return Describe(value);
}

TEST(TJsonValues, KindsAndTheirNames) {
    int freed = 0;
    struct Case {
        std::unique_ptr<TJsonBase> value;
        TJsonTypes type;
        const wchar_t* name;
    };
    Case cases[] = {
        {std::make_unique<TJsonBase>(), jsBase, L"jsBase"},
        {std::unique_ptr<TJsonBase>(TJsonNumber::Generate(1)), jsNumber, L"jsNumber"},
        {std::unique_ptr<TJsonBase>(TJsonString::Generate(L"s")), jsString, L"jsString"},
        {std::unique_ptr<TJsonBase>(TJsonBoolean::Generate(true)), jsBoolean, L"jsBoolean"},
        {std::unique_ptr<TJsonBase>(TJsonNull::Generate()), jsNull, L"jsNull"},
        {std::make_unique<TJsonCustomList>(), jsBase, L"jsBase"},
        {std::unique_ptr<TJsonBase>(TJsonList::Generate()), jsList, L"jsList"},
        {std::unique_ptr<TJsonBase>(TJsonObjectMethod::Generate(L"n", new Tracked(freed))), jsBase, L"jsBase"},
        {std::unique_ptr<TJsonBase>(TJsonObject::Generate(false)), jsObject, L"jsObject"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value->SelfType(), c.type) << c.name;
        EXPECT_EQ(c.value->SelfTypeName(), c.name);
    }
    cases[7].value.reset();
    EXPECT_EQ(freed, 1);  // a pair frees its value
}

TEST(TJsonValues, ValuesAsVariants) {
    std::unique_ptr<TJsonBase> number(TJsonNumber::Generate(2.5L));
    EXPECT_EQ(number->GetValue().Type(), VT_R8);
    EXPECT_EQ(number->Value().AsDouble(), 2.5);
    number->Value(Variant(L"7.25"));
    EXPECT_EQ(number->Value().AsDouble(), 7.25);
    number->Value(Variant(3));
    EXPECT_EQ(number->Value().AsDouble(), 3.0);
    EXPECT_THROW(number->SetValue(Variant(L"abc")), EVariantTypeCastError);
    EXPECT_THROW(number->SetValue(Variant::Null()), EVariantTypeCastError);

    std::unique_ptr<TJsonBase> text(TJsonString::Generate(L"\x0416"));
    EXPECT_EQ(text->GetValue().AsString(), L"\x0416");
    text->SetValue(Variant(1.5));
    EXPECT_EQ(text->GetValue().AsString(), L"1.5");
    text->SetValue(Variant::Null());
    EXPECT_EQ(text->GetValue().AsString(), L"");

    std::unique_ptr<TJsonBase> flag(TJsonBoolean::Generate(true));
    EXPECT_EQ(flag->GetValue().Type(), VT_BOOL);
    flag->SetValue(Variant(0));
    EXPECT_FALSE(flag->GetValue().AsBoolean());

    std::unique_ptr<TJsonBase> null(TJsonNull::Generate());
    EXPECT_TRUE(null->GetValue().IsNull());
    null->SetValue(Variant(5));  // nothing
    EXPECT_TRUE(null->GetValue().IsNull());
    EXPECT_EQ(null->GetChild(0), nullptr);
    EXPECT_EQ(null->Count(), 0);
    EXPECT_EQ(null->GetField(Variant(L"a")), null.get());
}

TEST(TJsonList, AddWrapsEachScalar) {
    TJsonList list;
    EXPECT_EQ(list.Add(true), 0);
    EXPECT_EQ(list.Add(1.5), 1);
    EXPECT_EQ(list.Add(7), 2);
    EXPECT_EQ(list.Add(WideString(L"w")), 3);
    EXPECT_EQ(list.Add(std::wstring(L"u")), 4);
    EXPECT_EQ(list.Add(L"literal"), 5);
    EXPECT_EQ(list.Add(TJsonNull::Generate()), 6);
    EXPECT_EQ(list.Add(static_cast<TJsonBase*>(nullptr)), -1);
    EXPECT_EQ(list._Add(nullptr), -1);
    EXPECT_EQ(D(&list), "[T N1.50000000000000e0 N7.00000000000000e0 S\"w\" S\"u\" S\"literal\" Z]");
}

TEST(TJsonList, DeleteMovesTheLastItemIntoTheGap) {
    TJsonList list;
    for (const wchar_t* s : {L"a", L"b", L"c", L"d"})
        list.Add(s);
    list.Delete(1);
    EXPECT_EQ(D(&list), "[S\"a\" S\"d\" S\"c\"]");
    list.Delete(2);  // the last one
    EXPECT_EQ(D(&list), "[S\"a\" S\"d\"]");
    list.Delete(5);
    list.Delete(-1);
    EXPECT_EQ(list.Count(), 2);
    TJsonBase* d = list.GetChild(1);
    EXPECT_EQ(list.IndexOf(d), 1);
    EXPECT_EQ(list.IndexOf(nullptr), -1);
}

TEST(TJsonList, ChildrenByPositionAndKey) {
    int freed = 0;
    TJsonList list;
    list.Add(new Tracked(freed));
    list.Add(2);
    EXPECT_EQ(list.GetChild(-1), nullptr);
    EXPECT_EQ(list.GetChild(2), nullptr);
    EXPECT_EQ(list.GetField(Variant(1)), list.GetChild(1));
    EXPECT_EQ(list.GetField(Variant(L"1")), &list);  // not a numeric key
    TJsonBase* same = list.GetChild(0);
    list.SetChild(0, same);
    EXPECT_EQ(freed, 0);
    list.SetChild(0, TJsonString::Generate(L"x"));
    EXPECT_EQ(freed, 1);
    std::unique_ptr<TJsonBase> outside(TJsonNull::Generate());
    list.SetChild(2, outside.get());  // nothing happens; it stays ours
    EXPECT_EQ(D(&list), "[S\"x\" N2.00000000000000e0]");
}

TEST(TJsonList, DestructionFreesEveryItem) {
    int freed = 0;
    {
        TJsonList list;
        for (int i = 0; i < 5; ++i)
            list.Add(new Tracked(freed));
        auto* inner = TJsonList::Generate();
        inner->Add(new Tracked(freed));
        list.Add(inner);
    }
    EXPECT_EQ(freed, 6);
}

TEST(TJsonCustomList, TypedGetters) {
    TJsonList list;
    list.Add(2.9);
    list.Add(-2.9);
    list.Add(L"text");
    list.Add(true);
    list.Add(TJsonNull::Generate());
    EXPECT_EQ(list.getInt(0), 2);
    EXPECT_EQ(list.getInt(1), -2);
    EXPECT_EQ(list.getDouble(0), 2.9);
    EXPECT_EQ(list.getString(2), L"text");
    EXPECT_EQ(list.getWideString(2), WideString(L"text"));
    EXPECT_TRUE(list.getBoolean(3));
    // No item at the position: the default.
    EXPECT_EQ(list.getInt(99), 0);
    EXPECT_EQ(list.getString(99), L"");
    EXPECT_TRUE(list.getWideString(99).IsEmpty());
    EXPECT_EQ(list.getDouble(-1), 0.0);
    EXPECT_FALSE(list.getBoolean(99));
    // An item of another kind.
    EXPECT_THROW(list.getString(0), EInvalidCast);
    EXPECT_THROW(list.getInt(2), EInvalidCast);
    EXPECT_THROW(list.getDouble(3), EInvalidCast);
    EXPECT_THROW(list.getBoolean(4), EInvalidCast);
    EXPECT_THROW(list.getWideString(4), EInvalidCast);
}

TEST(TJsonCustomList, GetIntKeepsTheLow32BitsAndRefusesWhatIsNoInteger) {
    struct Case {
        long double value;
        int result;
    };
    const Case cases[] = {{4294967297.0L, 1},
                          {-4294967297.0L, -1},
                          {2147483648.0L, -2147483647 - 1},
                          {9223372036854775807.0L, -1},
                          {-9223372036854775808.0L, 0},
                          {0.999L, 0},
                          {-0.999L, 0}};
    for (const Case& c : cases) {
        TJsonList list;
        list.Add(TJsonNumber::Generate(c.value));
        EXPECT_EQ(list.getInt(0), c.result) << static_cast<double>(c.value);
    }
    for (long double wrong :
         {std::numeric_limits<long double>::quiet_NaN(), std::numeric_limits<long double>::infinity(),
          -std::numeric_limits<long double>::infinity(), 9223372036854775808.0L, -9.3e18L, 1e300L}) {
        TJsonList list;
        list.Add(TJsonNumber::Generate(wrong));
        EXPECT_THROW(list.getInt(0), EConvertError) << static_cast<double>(wrong);
    }
}

TEST(TJsonCustomList, ForEach) {
    TJsonList list;
    list.Add(1);
    list.Add(2);
    list.Add(3);
    list.SetChild(1, nullptr);  // a null element is skipped
    std::vector<std::wstring> seen;
    int data = 42;
    list.ForEach(
        [&](const std::wstring& name, TJsonBase* element, void* d, bool&) {
            EXPECT_EQ(d, &data);
            seen.push_back(name + L"=" + std::to_wstring(element->GetValue().AsInteger()));
        },
        &data);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"0=1", L"2=3"}));

    int calls = 0;
    list.ForEach(
        [&](const std::wstring&, TJsonBase*, void*, bool& next) {
            ++calls;
            next = false;
        },
        nullptr);
    EXPECT_EQ(calls, 1);
    list.ForEach(nullptr, nullptr);

    TJsonObject object;
    object.Add(L"a", 1);
    object.Add(L"", 2);  // an empty name has no field by index: skipped
    object.Add(L"a", 3);
    seen.clear();
    object.ForEach([&](const std::wstring& name, TJsonBase* element, void*,
                       bool&) { seen.push_back(name + L"=" + std::to_wstring(element->GetValue().AsInteger())); },
                   nullptr);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"a=1", L"a=1"}));  // a repeated name yields its first pair
}

class TJsonObjectTest : public ::testing::TestWithParam<bool> {};

TEST_P(TJsonObjectTest, NamesAndFields) {
    TJsonObject object(GetParam());
    EXPECT_EQ(object.UseHash(), GetParam());
    EXPECT_EQ(object.HashTable(), object.GetHashTable());
    EXPECT_EQ(object.Add(L"a", 1), 0);
    EXPECT_EQ(object.Add(L"b", true), 1);
    EXPECT_EQ(object.Add(L"a", L"second"), 2);
    EXPECT_EQ(object.Add(L"", 0.5), 3);
    EXPECT_EQ(object.Add(L"w", WideString(L"wide")), 4);
    EXPECT_EQ(object.Add(L"s", std::wstring(L"\x0436")), 5);
    EXPECT_EQ(object.Add(L"x", static_cast<TJsonBase*>(nullptr)), -1);
    EXPECT_EQ(object.Count(), 6);

    EXPECT_EQ(object.IndexOfName(L"a"), 0);
    EXPECT_EQ(object.IndexOfName(L"A"), -1);
    EXPECT_EQ(object.IndexOfName(L"z"), -1);
    EXPECT_EQ(object.IndexOfName(L""), 3);
    TJsonBase* b = object.OldGetField(L"b");
    EXPECT_EQ(object.IndexOfObject(b), 1);
    EXPECT_EQ(object.IndexOfObject(nullptr), -1);
    EXPECT_EQ(object.GetField(Variant(L"b")), b);
    EXPECT_EQ(object.GetField(Variant(1)), object.GetChild(1));  // a numeric key: the pair
    EXPECT_EQ(object.GetNameOf(2), L"a");
    EXPECT_EQ(object.GetNameOf(6), L"");
    EXPECT_EQ(object.GetFieldByIndex(2), object.OldGetField(L"a"));  // the first pair's value
    EXPECT_EQ(object.GetFieldByIndex(3), nullptr);                   // an empty name
    EXPECT_EQ(object.OldGetField(L"z"), nullptr);

    EXPECT_EQ(object.getInt(L"a"), 1);
    EXPECT_TRUE(object.getBoolean(L"b"));
    EXPECT_EQ(object.getWideString(L"w"), WideString(L"wide"));
    EXPECT_EQ(object.getString(5), L"\x0436");
    EXPECT_EQ(object.getDouble(L"missing"), 0.0);
    EXPECT_THROW(object.getString(L"a"), EInvalidCast);
    EXPECT_EQ(object.getInt(2), 1);  // by index through the first pair of its name
}

TEST_P(TJsonObjectTest, OldSetFieldHandsThePreviousValueBack) {
    TJsonObject object(GetParam());
    object.Add(L"a", 1);
    std::unique_ptr<TJsonBase> previous(object.OldGetField(L"a"));
    object.OldSetField(L"a", TJsonString::Generate(L"new"));
    EXPECT_EQ(object.getString(L"a"), L"new");
    EXPECT_EQ(previous->GetValue().AsInteger(), 1);  // still alive, and ours
    std::unique_ptr<TJsonBase> notTaken(TJsonNull::Generate());
    object.OldSetField(L"z", notTaken.get());
    EXPECT_EQ(object.Count(), 1);
    std::unique_ptr<TJsonBase> previous2(object.GetFieldByIndex(0));
    object.SetFieldByIndex(0, TJsonBoolean::Generate(false));
    EXPECT_EQ(D(&object), "{\"a\"=F}");
}

TEST_P(TJsonObjectTest, OnlyPairsOfNoOtherObjectAreTaken) {
    TJsonObject object(GetParam());
    std::unique_ptr<TJsonBase> scalar(TJsonNumber::Generate(1));
    EXPECT_EQ(object._Add(scalar.get()), -1);
    EXPECT_EQ(object._Add(nullptr), -1);
    auto* pair = TJsonObjectMethod::Generate(L"p", TJsonNumber::Generate(2));
    EXPECT_EQ(object._Add(pair), 0);
    EXPECT_EQ(object._Add(pair), -1);  // already held
    TJsonObject other(GetParam());
    EXPECT_EQ(other._Add(pair), -1);
    EXPECT_EQ(object.IndexOfName(L"p"), 0);

    object.SetChild(0, scalar.get());  // refused: the pair stays
    EXPECT_EQ(D(&object), "{\"p\"=N2.00000000000000e0}");
    object.SetChild(0, TJsonObjectMethod::Generate(L"q", TJsonNull::Generate()));
    EXPECT_EQ(object.IndexOfName(L"p"), -1);
    EXPECT_EQ(object.IndexOfName(L"q"), 0);
}

TEST_P(TJsonObjectTest, ARenamedPairIsFoundByItsNewName) {
    TJsonObject object(GetParam());
    object.Add(L"a", 1);
    object.Add(L"b", 2);
    object.Add(L"b", 3);
    auto* second = static_cast<TJsonObjectMethod*>(object.GetChild(1));
    second->SetName(L"c");
    EXPECT_EQ(object.IndexOfName(L"c"), 1);
    EXPECT_EQ(object.IndexOfName(L"b"), 2);  // the next pair of that name is now the first
    static_cast<TJsonObjectMethod*>(object.GetChild(0))->SetName(L"c");
    EXPECT_EQ(object.IndexOfName(L"c"), 0);
    EXPECT_EQ(object.IndexOfName(L"a"), -1);
}

// The reference: the first position of the name in the list, searched from the start.
int FirstOf(TJsonObject& object, const std::wstring& name) {
    for (int i = 0; i < object.Count(); ++i)
        if (static_cast<TJsonObjectMethod*>(object.GetChild(i))->Name() == name)
            return i;
    return -1;
}

TEST_P(TJsonObjectTest, LookupsAgreeWithALinearSearchOverRandomAddsAndDeletes) {
    std::mt19937 random(99);
    TJsonObject object(GetParam());
    for (int step = 0; step < 4000; ++step) {
        const std::wstring name = L"k" + std::to_wstring(random() % 40);
        const unsigned action = random() % 10;
        if (action < 6 || object.Count() == 0) {
            object.Add(name, step);
        } else if (action < 9) {
            object.Delete(static_cast<int>(random() % object.Count()));
        } else {
            static_cast<TJsonObjectMethod*>(object.GetChild(static_cast<int>(random() % object.Count())))
                ->SetName(name);
        }
        for (int k = 0; k < 40; ++k) {
            const std::wstring probe = L"k" + std::to_wstring(k);
            ASSERT_EQ(object.IndexOfName(probe), FirstOf(object, probe)) << step << " " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutIndex, TJsonObjectTest, ::testing::Bool());

TEST(TJsonObject, DeletingTheLastPairOfAnIndexedObject) {
    TJsonObject object;
    object.Add(L"a", 1);
    object.Add(L"b", 2);
    object.Add(L"a", 3);
    object.Delete(2);
    EXPECT_EQ(object.IndexOfName(L"a"), 0);
    object.Delete(1);
    EXPECT_EQ(object.IndexOfName(L"b"), -1);
    object.Delete(0);
    EXPECT_EQ(object.IndexOfName(L"a"), -1);
    EXPECT_EQ(object.HashTable()->counters(), L"Balanced tree root node level is 0");
}

TEST(TJsonObject, ADeleteThatMovesTheLastPairKeepsTheIndexRight) {
    TJsonObject object;
    for (const wchar_t* name : {L"a", L"b", L"c", L"d", L"b"})
        object.Add(name, 0);
    object.Delete(1);  // the second b moves to position 1
    EXPECT_EQ(D(&object), "{\"a\"=N0 \"b\"=N0 \"c\"=N0 \"d\"=N0}");
    EXPECT_EQ(object.IndexOfName(L"b"), 1);
    EXPECT_EQ(object.IndexOfName(L"c"), 2);
    EXPECT_EQ(object.IndexOfName(L"d"), 3);
}

}  // namespace
