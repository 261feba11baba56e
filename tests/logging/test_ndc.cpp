// The nested diagnostic context of each thread.
#include "LogNDC.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <thread>

using namespace HierLog;

namespace {
// Each case starts and ends without a stack of its own thread.
class NDC : public ::testing::Test {
protected:
    void SetUp() override { TLogNDC::Remove(); }
    void TearDown() override { TLogNDC::Remove(); }
};
}  // namespace

TEST_F(NDC, ThreadWithoutEntry) {
    EXPECT_EQ(TLogNDC::GetNDCIndex(), -1);
    EXPECT_EQ(TLogNDC::Peek(), "");
    EXPECT_EQ(TLogNDC::Pop(), "");
    EXPECT_EQ(TLogNDC::GetDepth(), 0);
    TLogNDC::SetMaxDepth(0);
    TLogNDC::Clear();
    TLogStringList list{"x"};
    TLogNDC::CloneStack(list);
    EXPECT_TRUE(list.empty());
    TLogNDC::Inherit(nullptr);
    EXPECT_EQ(TLogNDC::GetNDCIndex(), -1);  // none of these makes an entry
    EXPECT_EQ(TLogNDC::GetThreadId(), std::to_string(GetCurrentThreadId()));
}

TEST_F(NDC, PushPeekPop) {
    TLogNDC::Push("a");
    TLogNDC::Push("b");
    EXPECT_EQ(TLogNDC::Peek(), "a|b");
    EXPECT_EQ(TLogNDC::GetDepth(), 2);
    EXPECT_EQ(TLogNDC::Pop(), "a|b");
    EXPECT_EQ(TLogNDC::Peek(), "a");
    EXPECT_EQ(TLogNDC::Pop(), "a");
    EXPECT_EQ(TLogNDC::GetDepth(), 0);
    EXPECT_EQ(TLogNDC::Pop(), "");
    EXPECT_GE(TLogNDC::GetNDCIndex(), 0);  // the emptied stack keeps its entry
    TLogNDC::Push("");
    TLogNDC::Push("");
    EXPECT_EQ(TLogNDC::Peek(), "|");
}

TEST_F(NDC, DepthLimits) {
    const struct {
        int maxDepth;
        const char* left;
    } table[] = {
        {5, "a|b|c"}, {3, "a|b|c"}, {2, "a|b"}, {1, "a"}, {0, ""}, {-1, ""},
    };
    for (const auto& row : table) {
        TLogNDC::Clear();
        for (const char* entry : {"a", "b", "c"})
            TLogNDC::Push(entry);
        TLogNDC::SetMaxDepth(row.maxDepth);
        EXPECT_EQ(TLogNDC::Peek(), row.left) << row.maxDepth;
    }
    TLogNDC::Clear();
    EXPECT_EQ(TLogNDC::GetDepth(), 0);
    EXPECT_GE(TLogNDC::GetNDCIndex(), 0);
}

TEST_F(NDC, CloneAndInherit) {
    TLogNDC::Push("outer");
    TLogNDC::Push("inner");
    TLogStringList copy;
    TLogNDC::CloneStack(copy);
    EXPECT_EQ(copy, (TLogStringList{"outer", "inner"}));
    std::string seen;
    std::thread([&] {
        TLogNDC::Inherit(&copy);
        TLogNDC::Push("worker");
        seen = TLogNDC::Peek();
        TLogNDC::Remove();
    }).join();
    EXPECT_EQ(seen, "outer|inner|worker");
    EXPECT_EQ(TLogNDC::Peek(), "outer|inner");
    const TLogStringList replacement{"x"};
    TLogNDC::Inherit(&replacement);
    EXPECT_EQ(TLogNDC::Peek(), "x");
}

TEST_F(NDC, EachThreadSeesItsOwnStackAndRemoveDropsTheEntry) {
    TLogNDC::Push("mine");
    std::string other = "unset";
    int otherIndex = 0;
    std::thread([&] {
        other = TLogNDC::Peek();
        otherIndex = TLogNDC::GetNDCIndex();
    }).join();
    EXPECT_EQ(other, "");
    EXPECT_EQ(otherIndex, -1);
    TLogNDC::Remove();
    EXPECT_EQ(TLogNDC::GetNDCIndex(), -1);
    EXPECT_EQ(TLogNDC::Peek(), "");
}
