// The private key's usage period: months over month ends and leap days, days of 24 hours.
#include <gtest/gtest.h>
#include "KeyPeriod.h"
#include "TestTimes.h"

TEST(FileTimeToDateTime, DaysSinceTheLastDaysOf1899) {
    const FILETIME beyond{0xFFFFFFFF, 0xFFFFFFFF};
    const struct {
        const char* when;
        FILETIME time;
        double value;
    } cases[] = {
        {"30 December 1899", FileTimeOf(1899, 12, 30), 0},
        {"1 January 1900, 06:00", FileTimeOf(1900, 1, 1, 6), 2.25},
        {"29 December 1899, 06:00", FileTimeOf(1899, 12, 29, 6), -1.25},
        {"29 February 2024, 12:00", FileTimeOf(2024, 2, 29, 12), 45351.5},
        {"1 January 1601", FileTimeOf(1601, 1, 1), -109205},
        {"beyond the calendar", beyond, 0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(FileTimeToDateTime(c.time), c.value) << c.when;
}

TEST(CheckPrivateKeyPeriod, MonthsOverMonthEndsAndLeapDays) {
    const struct {
        const char* period;
        FILETIME notBefore;
        int months, days;
        FILETIME check;
        int result;  // 0 within the period, else the whole days from NotBefore
    } cases[] = {
        {"31 March + 1 month: 30 April", FileTimeOf(2023, 3, 31, 10), 1, 0, FileTimeOf(2023, 4, 30, 10), 0},
        {"31 March + 1 month, a second later", FileTimeOf(2023, 3, 31, 10), 1, 0, FileTimeOf(2023, 4, 30, 10, 0, 1),
         30},
        {"31 January + 15 months: 30 April", FileTimeOf(2023, 1, 31, 10), 15, 0, FileTimeOf(2024, 4, 30, 10), 0},
        {"31 January + 15 months, a second later", FileTimeOf(2023, 1, 31, 10), 15, 0,
         FileTimeOf(2024, 4, 30, 10, 0, 1), 455},
        {"31 January of a leap year + 1 month: 29 February", FileTimeOf(2024, 1, 31), 1, 0, FileTimeOf(2024, 2, 29), 0},
        {"31 January of a leap year + 1 month, a day later", FileTimeOf(2024, 1, 31), 1, 0, FileTimeOf(2024, 3, 1), 30},
        {"31 January + 1 month: 28 February", FileTimeOf(2023, 1, 31), 1, 0, FileTimeOf(2023, 3, 1), 29},
        {"31 December + 2 months: 29 February", FileTimeOf(2023, 12, 31, 23, 59, 59), 2, 0,
         FileTimeOf(2024, 2, 29, 23, 59, 59), 0},
        {"29 February + 12 months: 28 February", FileTimeOf(2024, 2, 29, 8), 12, 0, FileTimeOf(2025, 2, 28, 8), 0},
        {"29 February + 12 months, 1 March", FileTimeOf(2024, 2, 29, 8), 12, 0, FileTimeOf(2025, 3, 1, 8), 366},
        {"29 February + 48 months: 29 February", FileTimeOf(2024, 2, 29, 8), 48, 0, FileTimeOf(2028, 2, 29, 8), 0},
        {"1 March + 36 months", FileTimeOf(2021, 3, 1), 36, 0, FileTimeOf(2024, 3, 1), 0},
        {"1 March + 36 months, a second later", FileTimeOf(2021, 3, 1), 36, 0, FileTimeOf(2024, 3, 1, 0, 0, 1), 1096},
        {"15 January + 10 days", FileTimeOf(2024, 1, 15), 0, 10, FileTimeOf(2024, 1, 25), 0},
        {"15 January + 10 days, a second later", FileTimeOf(2024, 1, 15), 0, 10, FileTimeOf(2024, 1, 25, 0, 0, 1), 10},
        {"a check before NotBefore", FileTimeOf(2024, 1, 15), 15, 0, FileTimeOf(2020, 1, 1), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckPrivateKeyPeriod(c.notBefore, c.check, c.months, c.days), c.result) << c.period;
}
