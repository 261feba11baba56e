// Time helpers against known FILETIME/SYSTEMTIME values, in Europe/Berlin (UTC+1, summer UTC+2).
#include "TimeHelpers.h"
#include "SeamOverride.h"
#include "TestTimes.h"
#include "TimeZoneApi.h"
#include <gtest/gtest.h>
#include <string>

namespace {
FILETIME File(const SYSTEMTIME& t) {
    FILETIME f{};
    EXPECT_TRUE(SystemTimeToFileTime(&t, &f));
    return f;
}

FILETIME Ticks(uint64_t ticks) {
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

int64_t TicksOf(FILETIME f) {
    return static_cast<int64_t>(static_cast<uint64_t>(f.dwHighDateTime) << 32 | f.dwLowDateTime);
}

std::string Text(const SYSTEMTIME& t) {
    char text[32];
    wsprintfA(text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

DWORD WINAPI NoTimeZone(LPTIME_ZONE_INFORMATION) {
    return TIME_ZONE_ID_INVALID;
}
FARPROC WINAPI NoEntry(HMODULE, LPCSTR) {
    return nullptr;
}
HMODULE WINAPI NoLibrary(LPCSTR) {
    return nullptr;
}
BOOL WINAPI LocalFileTimeFails(const FILETIME*, LPFILETIME) {
    return FALSE;
}

}  // namespace

TEST(TimeHelpers, Differences) {
    const uint64_t second = 10000000, minute = 60 * second, hour = 60 * minute, day = 24 * hour;
    const uint64_t base = 133000000000000000ull;
    struct Case {
        uint64_t a, b;
        int64_t tenths;
        uint64_t days, hours;
    };
    const Case cases[] = {
        {base, base, 0, 0, 0},
        {base, base + second, -10, 0, 0},
        {base + second, base, 10, 0, 0},
        {base, base + 1999999, -1, 0, 0},  // toward zero, not down
        {base + 90 * minute, base, 54000, 0, 1},
        {base, base + 23 * hour + 59 * minute, -863400, 0, 23},
        {base + day, base, 864000, 1, 24},
        {base, base + 400 * day + hour, -(400 * 864000ll + 36000), 400, 9601},
        {0, base, -(static_cast<int64_t>(base) / 1000000), base / day, base / hour},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileTimeDiffTenths(Ticks(c.a), Ticks(c.b)), c.tenths) << c.a << " " << c.b;
        EXPECT_EQ(FileTimeDiffDays(Ticks(c.a), Ticks(c.b)), c.days) << c.a << " " << c.b;
        EXPECT_EQ(FileTimeDiffDays(Ticks(c.b), Ticks(c.a)), c.days) << c.a << " " << c.b;
        EXPECT_EQ(FileTimeDiffHours(Ticks(c.a), Ticks(c.b)), c.hours) << c.a << " " << c.b;
        EXPECT_EQ(FileTimeDiffHours(Ticks(c.b), Ticks(c.a)), c.hours) << c.a << " " << c.b;
    }
}

TEST(TimeHelpers, DateTextKeepsTheTimeAsItIs) {
    // 23:30 UTC on 31 December is already 1 January in Berlin: the text must keep the 31st.
    const FILETIME time = File(SystemTimeOf(2025, 12, 31, 23, 30));
    char month[32] = {};
    ASSERT_GT(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVMONTHNAME12, month, sizeof month), 0);
    EXPECT_EQ(FileTimeToDateText(time, "dd MMM yyyy"), std::string("31 ") + month + " 2025");
    EXPECT_EQ(FileTimeToDateText(time, "dd.MM.yyyy"), "31.12.2025");
}

TEST(TimeHelpers, DateTextOfWhatCannotBeATimeIsEmpty) {
    EXPECT_EQ(FileTimeToDateText(Ticks(0x8000000000000000ull), "dd.MM.yyyy"), "");
    EXPECT_EQ(FileTimeToDateText(File(SystemTimeOf(2025, 1, 2, 0, 0)), "dd.MM.yyyy"), "02.01.2025");
}

TEST(TimeHelpers, LocalTimeToUtcUsesTheRuleOfTheDate) {
    struct Case {
        SYSTEMTIME local;
        const char* utc;
    };
    const Case cases[] = {
        {SystemTimeOf(2025, 1, 15, 12, 0), "2025-01-15 11:00:00"},  // winter: UTC+1
        {SystemTimeOf(2025, 7, 15, 12, 0), "2025-07-15 10:00:00"},  // summer: UTC+2, whatever the date today
        {SystemTimeOf(2025, 3, 30, 3, 30), "2025-03-30 01:30:00"},  // just after the spring change
        {SystemTimeOf(2025, 1, 1, 0, 30), "2024-12-31 23:30:00"},
    };
    for (const Case& c : cases) {
        SYSTEMTIME utc{};
        std::string error = "untouched";
        EXPECT_EQ(LocalTimeToUtc(c.local, utc, &error), 0);
        EXPECT_EQ(Text(utc), c.utc);
        EXPECT_EQ(error, "untouched");
    }
}

TEST(TimeHelpers, LocalTimeToUtcWithoutTheEntryPointUsesTheBiasInForce) {
    TIME_ZONE_INFORMATION zone{};
    const DWORD id = GetTimeZoneInformation(&zone);
    const LONG bias = zone.Bias + (id == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0);
    struct Missing {
        const char* name;
        FARPROC(WINAPI* lookup)(HMODULE, LPCSTR);
        HMODULE(WINAPI* load)(LPCSTR);
    };
    for (const Missing& missing :
         {Missing{"no entry point", NoEntry, nullptr}, Missing{"no library", nullptr, NoLibrary}}) {
        TSeamOverride<TTimeZoneApi> seam;
        if (missing.lookup)
            seam->GetProcAddress = missing.lookup;
        if (missing.load)
            seam->LoadLibraryA = missing.load;
        for (const SYSTEMTIME& local : {SystemTimeOf(2025, 1, 15, 12, 0), SystemTimeOf(2025, 7, 15, 12, 0)}) {
            SYSTEMTIME utc{};
            ASSERT_EQ(LocalTimeToUtc(local, utc, nullptr), 0) << missing.name;
            const int64_t shift = TicksOf(File(utc)) - TicksOf(File(local));
            EXPECT_EQ(shift, static_cast<int64_t>(bias) * 600000000) << missing.name << " " << Text(local);
        }
    }
}

TEST(TimeHelpers, LocalTimeToUtcFailures) {
    const SYSTEMTIME good = SystemTimeOf(2025, 1, 15, 12, 0);
    SYSTEMTIME badMonth = good;
    badMonth.wMonth = 13;
    struct Case {
        const char* name;
        SYSTEMTIME local;
        DWORD(WINAPI* zone)(LPTIME_ZONE_INFORMATION);
        FARPROC(WINAPI* lookup)(HMODULE, LPCSTR);
        BOOL(WINAPI* toUtc)(const FILETIME*, LPFILETIME);
        int result;
        const char* text;
    };
    const Case cases[] = {
        {"no zone", good, NoTimeZone, nullptr, nullptr, 2,
         "Невозможно получить время в UTC формате. Не задан часовой пояс."},
        {"entry point refuses", badMonth, nullptr, nullptr, nullptr, 3, "Невозможно перевести время в UTC формат."},
        {"not a time", badMonth, nullptr, NoEntry, nullptr, 2,
         "Невозможно перевести время SystemTimeToFileTime failed."},
        {"local file time", good, nullptr, NoEntry, LocalFileTimeFails, 3,
         "Невозможно перевести время LocalFileTimeToFileTime failed."},
        // an hour before the first tick in UTC+1
        {"before 1601", SystemTimeOf(1601, 1, 1, 0, 0), nullptr, NoEntry, nullptr, 4,
         "Невозможно перевести время FileTimeToSystemTime failed."},
    };
    for (const Case& c : cases) {
        TSeamOverride<TTimeZoneApi> seam;
        if (c.zone)
            seam->GetTimeZoneInformation = c.zone;
        if (c.lookup)
            seam->GetProcAddress = c.lookup;
        if (c.toUtc)
            seam->LocalFileTimeToFileTime = c.toUtc;
        SYSTEMTIME utc{};
        std::string error;
        EXPECT_EQ(LocalTimeToUtc(c.local, utc, &error), c.result) << c.name;
        EXPECT_EQ(error.rfind(c.text, 0), 0u) << c.name << ": " << error;
    }
}
