#include "TimeHelpers.h"
#include "ErrorText.h"
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

int Fail(std::string* errorText, const char* message, int result) {
    if (errorText != nullptr)
        *errorText = FormatErrorText(message, 0, false, false);
    return result;
}

struct LoadedLibrary {
    HMODULE handle;
    ~LoadedLibrary() {
        if (handle != nullptr)
            FreeLibrary(handle);
    }
};

using TzSpecificLocalTimeToSystemTimeFn = BOOL(WINAPI*)(const TIME_ZONE_INFORMATION*, const SYSTEMTIME*, LPSYSTEMTIME);
}  // namespace

TimeZoneSeam& TimeHelpersSeam() {
    static TimeZoneSeam seam{GetTimeZoneInformation, LoadLibraryA, GetProcAddress, LocalFileTimeToFileTime};
    return seam;
}

int LocalTimeToUtc(const SYSTEMTIME& local, SYSTEMTIME& utc, std::string* errorText) {
    const TimeZoneSeam& seam = TimeHelpersSeam();
    TIME_ZONE_INFORMATION zone{};
    if (seam.getTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID)
        return Fail(errorText, "Невозможно получить время в UTC формате. Не задан часовой пояс.", 2);
    LoadedLibrary kernel{seam.loadLibrary("kernel32.dll")};
    const auto convert = kernel.handle != nullptr
                             ? reinterpret_cast<TzSpecificLocalTimeToSystemTimeFn>(reinterpret_cast<void*>(
                                   seam.getProcAddress(kernel.handle, "TzSpecificLocalTimeToSystemTime")))
                             : nullptr;
    if (convert != nullptr) {
        if (!convert(&zone, &local, &utc))
            return Fail(errorText, "Невозможно перевести время в UTC формат.", 3);
        return 0;
    }
    FILETIME localTime, utcTime;
    if (!SystemTimeToFileTime(&local, &localTime))
        return Fail(errorText, "Невозможно перевести время SystemTimeToFileTime failed.", 2);
    if (!seam.localFileTimeToFileTime(&localTime, &utcTime))
        return Fail(errorText, "Невозможно перевести время LocalFileTimeToFileTime failed.", 3);
    if (!FileTimeToSystemTime(&utcTime, &utc))
        return Fail(errorText, "Невозможно перевести время FileTimeToSystemTime failed.", 4);
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
