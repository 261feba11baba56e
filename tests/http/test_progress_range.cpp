#include <gtest/gtest.h>
#include <climits>
#include "ProgressRange.h"

namespace {
int notifications = 0;
void CountChange(TProgressRange*) {
    ++notifications;
}

TProgressRange Range(int position, int min, int max) {
    return TProgressRange{position, min, max, &CountChange};
}
}  // namespace

TEST(TProgressRange, SetPositionClampsAndNotifiesOnce) {
    const struct {
        int value;
        int position;
        bool result;
    } cases[] = {
        {5, 5, true},   {0, 0, true},        {10, 10, true},       {11, 10, false},
        {-1, 0, false}, {INT_MIN, 0, false}, {INT_MAX, 10, false},
    };
    for (const auto& c : cases) {
        TProgressRange range = Range(3, 0, 10);
        notifications = 0;
        EXPECT_EQ(range.SetPosition(c.value), c.result) << c.value;
        EXPECT_EQ(range.Position, c.position) << c.value;
        EXPECT_EQ(notifications, 1) << c.value;
    }
}

TEST(TProgressRange, SetMaxPullsThePositionIn) {
    const struct {
        int position;
        int value;
        int max;
        int newPosition;
        bool result;
        int notified;
    } cases[] = {
        {5, 3, 3, 3, false, 2}, {5, -1, 0, 0, false, 2}, {2, 8, 8, 2, true, 1},
        {5, 5, 5, 5, true, 1},  {0, -1, 0, 0, false, 2},  // the argument, not the new max, is compared with the position
    };
    for (const auto& c : cases) {
        TProgressRange range = Range(c.position, 0, 10);
        notifications = 0;
        EXPECT_EQ(range.SetMax(c.value), c.result) << c.value;
        EXPECT_EQ(range.Max, c.max) << c.value;
        EXPECT_EQ(range.Position, c.newPosition) << c.value;
        EXPECT_EQ(notifications, c.notified) << c.value;
    }
}

TEST(TProgressRange, StepByMovesWithinTheBounds) {
    TProgressRange range = Range(9, 0, 10);
    EXPECT_FALSE(range.StepBy(2));
    EXPECT_EQ(range.Position, 10);
    EXPECT_TRUE(range.StepBy(-4));
    EXPECT_EQ(range.Position, 6);
    TProgressRange wide = Range(INT_MAX - 1, 0, INT_MAX);
    EXPECT_FALSE(wide.StepBy(INT_MAX));  // no overflow
    EXPECT_EQ(wide.Position, INT_MAX);
}

TEST(TProgressRange, WithoutHandlerNothingIsCalled) {
    TProgressRange range{0, 0, 10, nullptr};
    EXPECT_TRUE(range.SetPosition(4));
    range.NotifyChange();
    EXPECT_EQ(range.Position, 4);
}
