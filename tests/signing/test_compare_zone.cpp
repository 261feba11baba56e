// The signing service's times under the real time zone of this process (TZ, set for it by the
// test's declaration with the zone's bias and the largest difference that passes): the time
// stamp's and the OCSP response's times in UTC, each the instant its service wrote as openssl
// reads it, and their comparison. Wine's daylight bias is always -60 and is added whether or not
// daylight time is in force, so under UTC too differences up to 3900 seconds pass.
#include "Ocsptsp.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <memory>
#include "CaPki.h"
#include "CryptOwned.h"
#include "Ocspcomlib.h"
#include "ServicesClient.h"
#include "TestTimes.h"
#include "TextChecks.h"
#include "Tspcomlib.h"
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

// The automation objects give both times in local time, as the provider's do.
class ServiceTimes : public ServicesClient {
protected:
    ServiceTimes() : ServicesClient("service-times") {}
    void SetUp() override {
        ServicesClient::SetUp();
        TIME_ZONE_INFORMATION zone{};
        ASSERT_NE(GetTimeZoneInformation(&zone), TIME_ZONE_ID_INVALID);
        ASSERT_EQ(std::to_string(zone.Bias), std::getenv("VORSALT_ZONE_BIAS")) << "the process is in its zone";
    }
};

TEST_F(ServiceTimes, TheStampsTimeIsTheInstantInItsToken) {
    // The present time, and one in each half of the year: one of them lies in the other half
    // from today, where a zone with daylight time has another offset than today's.
    std::string stamped = "signature value";
    const CRYPT_DATA_BLOB input{static_cast<DWORD>(stamped.size()), reinterpret_cast<BYTE*>(&stamped[0])};
    for (const char* path : {"/tsa", "/tsa-january", "/tsa-july"}) {
        SCOPED_TRACE(path);
        const TSysString address = Address(TTimeStampService::Url(path));
        CRYPT_DATA_BLOB output{};
        SYSTEMTIME time{};
        TCertContext tsa;
        std::string text;
        const int result = COM_TimeStamp(address.Get(), output, input, &time, tsa.Receive(), true, false, &text);
        const TLocalFree<BYTE> token(output.pbData);
        ASSERT_EQ(result, 0) << text;
        EXPECT_EQ(TimeText(time), TimeText(OpensslStampTime(BlobBytes(output))));
    }
}

TEST_F(ServiceTimes, TheResponsesProductionTimeIsTheInstantInIt) {
    const TCertContext signer = CaPkiCert("signer");
    ASSERT_TRUE(signer);
    CRYPT_DATA_BLOB output{};
    SYSTEMTIME time{};
    std::string text;
    const int result = COM_OCSP(nullptr, output, signer.Get(), &time, 0, false, &text);
    const TLocalFree<BYTE> response(output.pbData);
    ASSERT_EQ(result, 0) << text;
    EXPECT_EQ(TimeText(time), TimeText(OpensslProducedAt(BlobBytes(output))));
}

}  // namespace
