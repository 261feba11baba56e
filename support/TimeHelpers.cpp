#include "TimeHelpers.h"
#include "ErrorText.h"
#include "Owned.h"
#include "Seam.h"
#include "TimeZoneApi.h"
#include <cmath>

namespace {
constexpr uint64_t TicksPerDay = 864000000000ull;
constexpr uint64_t TicksPerHour = 36000000000ull;

int64_t Ticks(FILETIME time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

uint64_t Distance(FILETIME a, FILETIME b) {
    const int64_t d = Ticks(b) - Ticks(a);
    return static_cast<uint64_t>(std::fabs(static_cast<double>(d)));
}

using TzSpecificLocalTimeToSystemTimeFn = BOOL(WINAPI*)(const TIME_ZONE_INFORMATION*, const SYSTEMTIME*, LPSYSTEMTIME);
}  // namespace

TTimeZoneApi TTimeZoneApi::Real() {
    return {::GetTimeZoneInformation, ::LoadLibraryA, ::GetProcAddress, ::LocalFileTimeToFileTime};
}

int LocalTimeToUtc(const SYSTEMTIME& local, SYSTEMTIME& utc, std::string* errorText) {
    const TTimeZoneApi& api = Seam<TTimeZoneApi>();
    TIME_ZONE_INFORMATION zone{};
    if (api.GetTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID) {
        LogOrStoreError(errorText, "Невозможно получить время в UTC формате. Не задан часовой пояс.");
        return 2;
    }
    const TModule kernel(api.LoadLibraryA("kernel32.dll"));
    const auto convert = kernel ? reinterpret_cast<TzSpecificLocalTimeToSystemTimeFn>(reinterpret_cast<void*>(
                                      api.GetProcAddress(kernel.Get(), "TzSpecificLocalTimeToSystemTime")))
                                : nullptr;
    if (convert != nullptr) {
        if (!convert(&zone, &local, &utc)) {
            LogOrStoreError(errorText, "Невозможно перевести время в UTC формат.");
            return 3;
        }
        return 0;
    }
    return LocalTimeToUtcByBiasNow(local, utc, errorText);
}

int LocalTimeToUtcByBiasNow(const SYSTEMTIME& local, SYSTEMTIME& utc, std::string* errorText) {
    FILETIME localTime, utcTime;
    if (!SystemTimeToFileTime(&local, &localTime)) {
        LogOrStoreError(errorText, "Невозможно перевести время SystemTimeToFileTime failed.");
        return 2;
    }
    if (!Seam<TTimeZoneApi>().LocalFileTimeToFileTime(&localTime, &utcTime)) {
        LogOrStoreError(errorText, "Невозможно перевести время LocalFileTimeToFileTime failed.");
        return 3;
    }
    if (!FileTimeToSystemTime(&utcTime, &utc)) {
        LogOrStoreError(errorText, "Невозможно перевести время FileTimeToSystemTime failed.");
        return 4;
    }
    return 0;
}

std::string FileTimeToDateText(FILETIME time, const char* picture) {
    SYSTEMTIME record;
    if (!FileTimeToSystemTime(&time, &record))
        return "";
    char text[512] = {};
    if (GetDateFormatA(0, 0, &record, picture, text, sizeof text) == 0)
        return "";
    return text;
}

int64_t FileTimeDiffTenths(FILETIME a, FILETIME b) {
    return (Ticks(a) - Ticks(b)) / 1000000;
}

uint64_t FileTimeDiffDays(FILETIME a, FILETIME b) {
    return Distance(a, b) / TicksPerDay;
}

uint64_t FileTimeDiffHours(FILETIME a, FILETIME b) {
    return Distance(a, b) / TicksPerHour;
}
