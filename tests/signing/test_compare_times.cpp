// The comparison of the stamp's and the OCSP response's times: boundary values under exact biases
// (through the time-zone seam; Wine's own daylight bias is always -60). The real zones are in
// test_compare_zone.cpp.
#include "Ocsptsp.h"
#include <gtest/gtest.h>
#include "SeamOverride.h"
#include "TestTimes.h"
#include "TextChecks.h"
#include "TimeZoneApi.h"

namespace {

TIME_ZONE_INFORMATION Zone;

DWORD WINAPI ScriptedZone(LPTIME_ZONE_INFORMATION zone) {
    *zone = Zone;
    return TIME_ZONE_ID_STANDARD;
}

const SYSTEMTIME Noon = {2025, 3, 0, 14, 12, 0, 0, 0};

SYSTEMTIME Later(long long seconds) {
    return SecondsAfter(Noon, seconds);
}

TEST(CompareTimes, BoundariesUnderEachBias) {
    TSeamOverride<TTimeZoneApi> seam;
    seam->GetTimeZoneInformation = ScriptedZone;
    const struct {
        long bias, daylightBias;
        long long d;
        int result;
    } cases[] = {
        {0, 0, 0, 0},        {0, 0, 300, 0},        {0, 0, -300, 0},       {0, 0, 301, 3},
        {0, 0, -301, 3},     {-180, -60, 3000, 0},  {-180, -60, 14700, 0}, {-180, -60, -14700, 0},
        {-180, -60, 14701, 3}, {180, -60, 7500, 0}, {180, -60, -7501, 3},  {0, -60, 3900, 0},
        {0, -60, 3901, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bias) + " " + std::to_string(c.daylightBias) + " " + std::to_string(c.d));
        Zone = TIME_ZONE_INFORMATION{};
        Zone.Bias = c.bias;
        Zone.DaylightBias = c.daylightBias;
        const SYSTEMTIME ocsp = Later(c.d);
        std::string text = "untouched";
        EXPECT_EQ(CompareTimes(&Noon, &ocsp, &text), c.result);
        EXPECT_EQ(text == "untouched", c.result == 0) << text;
    }
    Zone = TIME_ZONE_INFORMATION{};
    const SYSTEMTIME early = Later(-301);
    std::string text;
    ASSERT_EQ(CompareTimes(&Noon, &early, &text), 3);
    EXPECT_EQ(text, "-Разница между временем TSP и OCSP: -301 сек \r\n(TSP: 12:0:0, OCSP: 11:54:59, Bias: 0, "
                    "DaylightBias: 0)");
}

TEST(CompareTimes, MissingAndUnreadableTimes) {
    SYSTEMTIME bad = Noon;
    bad.wMonth = 13;
    const struct {
        const SYSTEMTIME *stamp, *ocsp;
        int result;
        const char* text;
    } cases[] = {
        {nullptr, nullptr, 1, "CompareTimes. Временя OCSP ответа NULL."},
        {&Noon, nullptr, 1, "CompareTimes. Временя OCSP ответа NULL."},
        {nullptr, &Noon, 2, "CompareTimes. Временя TSP ответа NULL."},
        {&Noon, &bad, 3, "CompareTimes. Ошибка работы со временем OCSP ответа: "},
        {&bad, &Noon, 4, "CompareTimes. Ошибка работы со временем штампа времени."},
        {&bad, &bad, 3, "CompareTimes. Ошибка работы со временем OCSP ответа: "},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        std::string text;
        EXPECT_EQ(CompareTimes(c.stamp, c.ocsp, &text), c.result);
        EXPECT_TRUE(StartsWith(text, c.text)) << text;
    }
}

}  // namespace
