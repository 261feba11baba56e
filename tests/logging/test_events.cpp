// Events: time stamps, age, the accompanying exception (the reading thread's context: test_thread_handover.cpp).
#include "HierLog.h"
#include "LogExceptions.h"
#include "LogLibrary.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdint>
#include <stdexcept>

using namespace HierLog;

TEST(Events, TimeStampZeroIsTheCurrentTime) {
    const TDateTime before = Now();
    TLogEvent event(nullptr, Info, "m", nullptr, 0);
    const TDateTime after = Now();
    EXPECT_GE(event.TimeStamp(), before);
    EXPECT_LE(event.TimeStamp(), after);
    TLogEvent fixed(nullptr, Info, "m", nullptr, 45000.25);
    EXPECT_EQ(fixed.TimeStamp(), 45000.25);
}

TEST(Events, TheClockIsTheLocalTimeAcrossASecondsEnd) {
    // Every reading from one second into the next lies between the system's local time read just
    // before and just after it, to the millisecond; that one may be up to a clock tick (16 ms at
    // most) behind.
    constexpr double HalfMs = 0.5 / 86400000;
    constexpr double Tick = 16.0 / 86400000;
    const auto local = [] {
        SYSTEMTIME time;
        GetLocalTime(&time);
        return SystemTimeToDateTime(time);
    };
    const TDateTime first = Now();
    TDateTime last = first;
    while (static_cast<int64_t>(last * 86400) == static_cast<int64_t>(first * 86400)) {
        const TDateTime before = local();
        const TDateTime now = Now();
        const TDateTime after = local();
        ASSERT_GE(now, before - HalfMs);
        ASSERT_LE(now, after + Tick + HalfMs);
        ASSERT_GE(now, last);
        last = now;
    }
}

TEST(Events, ElapsedTimeCountsFromLibraryStartRounded) {
    const struct {
        double seconds;
        int ms;
    } table[] = {{1.5, 1500}, {0, 0}, {0.0004, 0}, {0.0006, 1}, {86400, 86400000}};
    for (const auto& row : table) {
        TLogEvent event(nullptr, Info, "m", nullptr, Internal::StartTime + row.seconds / 86400.0);
        EXPECT_EQ(event.ElapsedTime(), row.ms) << row.seconds;
    }
}

TEST(Events, ExceptionClassAndMessage) {
    const ELogException logError("bad class");
    const std::runtime_error plain("disk full");
    TLogEvent withLibrary(nullptr, Error, "m", &logError, 0);
    TLogEvent withPlain(nullptr, Error, "m", &plain, 0);
    TLogEvent without(nullptr, Error, "m", nullptr, 0);
    EXPECT_EQ(withLibrary.ErrorClass(), "ELogException");
    EXPECT_EQ(withLibrary.ErrorMessage(), "bad class");
    EXPECT_EQ(withPlain.ErrorClass(), "runtime_error");
    EXPECT_EQ(withPlain.ErrorMessage(), "disk full");
    EXPECT_EQ(without.ErrorClass(), "");
    EXPECT_EQ(without.ErrorMessage(), "");
}
