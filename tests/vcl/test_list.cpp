// TList: positions, the operations that move items, and the errors of a wrong position.
#include "List.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// The list as a text of the letters its items point to.
std::string Letters(const TList& list) {
    std::string text;
    for (int i = 0; i < list.Count(); ++i)
        text += list.Items(i) ? *static_cast<const char*>(list.Items(i)) : '-';
    return text;
}

const char Abc[] = "abcdef";
void* Item(char c) {
    return const_cast<char*>(&Abc[c - 'a']);
}

TEST(TList, OperationsKeepTheOrderStated) {
    struct Step {
        const char* name;
        void (*apply)(TList&);
        const char* after;
    };
    const Step steps[] = {
        {"Add a b c",
         [](TList& l) {
             l.Add(Item('a'));
             l.Add(Item('b'));
             l.Add(Item('c'));
         },
         "abc"},
        {"Insert d at 1", [](TList& l) { l.Insert(1, Item('d')); }, "adbc"},
        {"Insert e at the end", [](TList& l) { l.Insert(4, Item('e')); }, "adbce"},
        {"Delete 0", [](TList& l) { l.Delete(0); }, "dbce"},
        {"Exchange 0 and 3", [](TList& l) { l.Exchange(0, 3); }, "ebcd"},
        {"Move 0 to 2", [](TList& l) { l.Move(0, 2); }, "bced"},
        {"Remove c", [](TList& l) { EXPECT_EQ(l.Remove(Item('c')), 1); }, "bed"},
        {"Remove absent", [](TList& l) { EXPECT_EQ(l.Remove(Item('a')), -1); }, "bed"},
        {"Extract e", [](TList& l) { EXPECT_EQ(l.Extract(Item('e')), Item('e')); }, "bd"},
        {"Add null twice",
         [](TList& l) {
             l.Add(nullptr);
             l.Insert(0, nullptr);
         },
         "-bd-"},
        {"Pack", [](TList& l) { l.Pack(); }, "bd"},
        {"SetItems 1", [](TList& l) { l.SetItems(1, Item('f')); }, "bf"},
        {"Clear", [](TList& l) { l.Clear(); }, ""},
    };
    TList list;
    for (const Step& s : steps) {
        s.apply(list);
        EXPECT_EQ(Letters(list), s.after) << s.name;
    }
}

TEST(TList, IndexOfGivesTheFirstPosition) {
    TList list;
    for (char c : std::string("abca"))
        list.Add(Item(c));
    EXPECT_EQ(list.IndexOf(Item('a')), 0);
    EXPECT_EQ(list.IndexOf(Item('c')), 2);
    EXPECT_EQ(list.IndexOf(Item('f')), -1);
    EXPECT_EQ(list.First(), Item('a'));
    EXPECT_EQ(list.Last(), Item('a'));
}

TEST(TList, PositionsOutsideTheListRaise) {
    TList list;
    list.Add(Item('a'));
    const struct {
        const char* name;
        void (*apply)(TList&);
    } wrong[] = {
        {"Items -1", [](TList& l) { l.Items(-1); }},
        {"Items 1", [](TList& l) { l.Items(1); }},
        {"SetItems 1", [](TList& l) { l.SetItems(1, nullptr); }},
        {"Delete 1", [](TList& l) { l.Delete(1); }},
        {"Insert 2", [](TList& l) { l.Insert(2, nullptr); }},
        {"Exchange 0 1", [](TList& l) { l.Exchange(0, 1); }},
        {"Move 0 1", [](TList& l) { l.Move(0, 1); }},
        {"Capacity 0", [](TList& l) { l.SetCapacity(0); }},
    };
    for (const auto& w : wrong)
        EXPECT_THROW(w.apply(list), EListError) << w.name;
    EXPECT_EQ(Letters(list), "a");
    EXPECT_THROW(TList().First(), EListError);
    try {
        list.Items(5);
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message, "List index out of bounds (5)");
    }
}

struct Keyed {
    int key;
    char tag;
};
int ByKey(void* a, void* b) {
    return static_cast<Keyed*>(a)->key - static_cast<Keyed*>(b)->key;
}

TEST(TList, SortIsStable) {
    Keyed items[] = {{3, 'a'}, {1, 'b'}, {3, 'c'}, {2, 'd'}, {1, 'e'}};
    TList list;
    for (Keyed& k : items)
        list.Add(&k);
    list.Sort(ByKey);
    std::string tags;
    for (int i = 0; i < list.Count(); ++i)
        tags += static_cast<Keyed*>(list.Items(i))->tag;
    EXPECT_EQ(tags, "bedac");
}

TEST(TList, CapacityGrowsAndShrinksToTheCount) {
    TList list;
    list.SetCapacity(100);
    EXPECT_GE(list.Capacity(), 100);
    list.Add(Item('a'));
    list.SetCapacity(1);
    EXPECT_EQ(list.Capacity(), 1);
    EXPECT_EQ(Letters(list), "a");
}

}  // namespace
