// The member-name index: its rules, and a plain linear reference over random inserts and deletes.
#include "BalTree.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <vector>

namespace {

int RootLevel(const TBalTree& tree) {
    const std::wstring text = tree.counters();
    return std::stoi(text.substr(text.rfind(L' ') + 1));
}

TEST(TBalTree, ANewTreeIsEmpty) {
    TBalTree tree;
    EXPECT_EQ(tree.IndexOf(L"a"), -1);
    EXPECT_EQ(tree.IndexOf(L""), -1);
    EXPECT_EQ(tree.counters(), L"Balanced tree root node level is 0");
    EXPECT_FALSE(tree.Delete(L"a"));
}

TEST(TBalTree, ANameIsInsertedOnce) {
    TBalTree tree;
    EXPECT_TRUE(tree.Insert(L"a", 5));
    EXPECT_FALSE(tree.Insert(L"a", 9));
    EXPECT_EQ(tree.IndexOf(L"a"), 5);
}

TEST(TBalTree, NamesCompareByCodeUnits) {
    TBalTree tree;
    const std::vector<std::wstring> names = {L"a", L"A", L"ab", L"", L"\x0430", L"\xFFFF", std::wstring(L"a\0b", 3)};
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_TRUE(tree.Insert(names[i], static_cast<int>(i)));
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(tree.IndexOf(names[i]), static_cast<int>(i));
    EXPECT_EQ(tree.IndexOf(L"b"), -1);
    EXPECT_EQ(tree.IndexOf(std::wstring(L"a\0", 2)), -1);
}

TEST(TBalTree, SevenNamesInOrderGiveARootOfLevel3) {
    TBalTree tree;
    for (int i = 0; i < 7; ++i)
        tree.Insert(std::wstring(1, L'a' + i), i);
    EXPECT_EQ(tree.counters(), L"Balanced tree root node level is 3");
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(tree.IndexOf(std::wstring(1, L'a' + i)), i);
}

TEST(TBalTree, DeleteLowersThePositionsAbove) {
    TBalTree tree;
    for (int i = 0; i < 5; ++i)
        tree.Insert(std::wstring(1, L'a' + i), i);
    EXPECT_TRUE(tree.Delete(L"c"));
    const std::pair<const wchar_t*, int> after[] = {{L"a", 0}, {L"b", 1}, {L"c", -1}, {L"d", 2}, {L"e", 3}};
    for (const auto& a : after)
        EXPECT_EQ(tree.IndexOf(a.first), a.second) << a.first;
    EXPECT_FALSE(tree.Delete(L"c"));
    EXPECT_FALSE(tree.Delete(L"x"));
    for (const auto& a : after)
        EXPECT_EQ(tree.IndexOf(a.first), a.second) << a.first;
}

TEST(TBalTree, ClearThenInsertWorksAsNew) {
    TBalTree tree;
    for (int i = 0; i < 100; ++i)
        tree.Insert(std::to_wstring(i), i);
    tree.Clear();
    EXPECT_EQ(RootLevel(tree), 0);
    EXPECT_EQ(tree.IndexOf(L"5"), -1);
    EXPECT_TRUE(tree.Insert(L"5", 0));
    EXPECT_EQ(tree.IndexOf(L"5"), 0);
    EXPECT_EQ(RootLevel(tree), 1);
}

// The reference: names and positions in a vector, searched from the start.
struct Reference {
    std::vector<std::pair<std::wstring, int>> entries;
    int IndexOf(const std::wstring& name) const {
        for (const auto& e : entries)
            if (e.first == name)
                return e.second;
        return -1;
    }
    bool Insert(const std::wstring& name, int position) {
        if (IndexOf(name) >= 0)
            return false;
        entries.emplace_back(name, position);
        return true;
    }
    bool Delete(const std::wstring& name) {
        const auto at = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.first == name; });
        if (at == entries.end())
            return false;
        const int removed = at->second;
        entries.erase(at);
        for (auto& e : entries)
            if (e.second > removed)
                --e.second;
        return true;
    }
};

TEST(TBalTree, AgreesWithALinearSearchOverRandomInsertsAndDeletes) {
    std::mt19937 random(12345);
    TBalTree tree;
    Reference reference;
    // Few distinct names, so that inserts repeat names and deletes hit absent ones.
    const auto name = [&random] { return L"n" + std::to_wstring(random() % 300); };
    for (int step = 0; step < 20000; ++step) {
        const std::wstring n = name();
        if (random() % 3 != 0) {
            const int position = static_cast<int>(random() % 1000);
            ASSERT_EQ(tree.Insert(n, position), reference.Insert(n, position)) << step;
        } else {
            ASSERT_EQ(tree.Delete(n), reference.Delete(n)) << step;
        }
        if (step % 97 == 0) {
            for (int k = 0; k < 300; ++k) {
                const std::wstring probe = L"n" + std::to_wstring(k);
                ASSERT_EQ(tree.IndexOf(probe), reference.IndexOf(probe)) << step << " " << k;
            }
            // Balanced: the root's level is at most log2(n + 1).
            const size_t count = reference.entries.size();
            int bound = 0;
            while ((size_t(1) << bound) <= count)
                ++bound;
            ASSERT_LE(RootLevel(tree), bound) << step;
        }
    }
}

TEST(TBalTree, ManyNames) {
    TBalTree tree;
    for (int i = 0; i < 100000; ++i)
        ASSERT_TRUE(tree.Insert(L"name" + std::to_wstring(i), i));
    for (int i = 0; i < 100000; i += 7)
        ASSERT_EQ(tree.IndexOf(L"name" + std::to_wstring(i)), i);
    EXPECT_LE(RootLevel(tree), 17);
}

}  // namespace
