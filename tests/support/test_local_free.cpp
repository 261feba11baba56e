// TLocalFree against the real local heap: HeapValidate tells a live block from a freed one.
#include "LocalFree.h"
#include <gtest/gtest.h>

namespace {
void* NewBlock() {
    return LocalAlloc(LPTR, 32);
}
bool IsLive(void* block) {
    return HeapValidate(GetProcessHeap(), 0, block) != FALSE;
}
}  // namespace

TEST(TLocalFree, DestructorFreesOwnedBlock) {
    void* block = NewBlock();
    {
        TLocalFree<void> holder(block);
        EXPECT_EQ(holder.Get(), block);
    }
    EXPECT_FALSE(IsLive(block));
}

TEST(TLocalFree, EmptyHolderFreesNothingAndDetachGivesNull) {
    TLocalFree<char> holder;
    EXPECT_EQ(holder.Get(), nullptr);
    EXPECT_EQ(holder.Detach(), nullptr);
    EXPECT_FALSE(holder.IsDetached());
}

TEST(TLocalFree, DetachedBlockSurvivesHolder) {
    void* block = NewBlock();
    {
        TLocalFree<void> holder(block);
        EXPECT_EQ(holder.Detach(), block);
        EXPECT_TRUE(holder.IsDetached());
        EXPECT_EQ(holder.Get(), block);
    }
    ASSERT_TRUE(IsLive(block));
    LocalFree(block);
}

TEST(TLocalFree, ResetAfterDetachOwnsOnlyTheNewBlock) {
    void* handedOut = NewBlock();
    void* next = NewBlock();
    {
        TLocalFree<void> holder(handedOut);
        holder.Detach();
        holder.Reset(next);
        EXPECT_FALSE(holder.IsDetached());
        EXPECT_TRUE(IsLive(handedOut));
    }
    EXPECT_FALSE(IsLive(next));
    ASSERT_TRUE(IsLive(handedOut));
    LocalFree(handedOut);
}

TEST(TLocalFree, ResetWithHeldPointerChangesNothing) {
    void* block = NewBlock();
    TLocalFree<void> holder(block);
    holder.Detach();
    holder.Reset(block);
    EXPECT_TRUE(IsLive(block));
    EXPECT_TRUE(holder.IsDetached());
    holder.Reset();
    EXPECT_TRUE(IsLive(block));
    LocalFree(block);
}

TEST(TLocalFree, AssignmentFreesPreviousBlock) {
    void* first = NewBlock();
    void* second = NewBlock();
    TLocalFree<void> holder(first);
    holder = second;
    EXPECT_FALSE(IsLive(first));
    EXPECT_EQ(holder.Get(), second);
    holder = nullptr;
    EXPECT_FALSE(IsLive(second));
}
