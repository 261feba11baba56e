// The comparison of the two times under the real time zone of this process (TZ, set for it by the
// test's declaration with the zone's bias and the largest difference that passes). Wine's daylight
// bias is always -60 and is added whether or not daylight time is in force, so under UTC too
// differences up to 3900 seconds pass.
#include "Ocsptsp.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include "TestTimes.h"
#include "TextChecks.h"
#include "WineBehaviour.h"

namespace {

const SYSTEMTIME Noon = {2025, 3, 0, 14, 12, 0, 0, 0};

SYSTEMTIME Later(long long seconds) {
    return SecondsAfter(Noon, seconds);
}

TEST(CompareTimes, UnderTheProcesssTimeZone) {
    const char* bias = std::getenv("VORSALT_ZONE_BIAS");
    const char* limit = std::getenv("VORSALT_ZONE_LIMIT");
    ASSERT_NE(bias, nullptr);
    ASSERT_NE(limit, nullptr);
    const long long passing = std::atoll(limit);
    for (long long d : {300LL, passing, -passing}) {
        const SYSTEMTIME ocsp = Later(d);
        std::string text;
        EXPECT_EQ(CompareTimes(&Noon, &ocsp, &text), 0) << d << " " << text;
    }
    const SYSTEMTIME ocsp = Later(passing + 1);
    std::string text;
    EXPECT_EQ(CompareTimes(&Noon, &ocsp, &text), 3);
    EXPECT_TRUE(StartsWith(text, "-Разница между временем TSP и OCSP: " + std::to_string(passing + 1) + " сек \r\n(TSP: 12:0:0, OCSP: "))
        << text;
    EXPECT_TRUE(ContainsAs(text, std::string(", Bias: ") + bias + ", DaylightBias: " +
                                     WineOnly("-60",
                                              "the daylight bias is always -60; on Windows it is the zone's "
                                              "own, from the system's settings: not known here") +
                                     ")"));
}

}  // namespace
