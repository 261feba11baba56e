#include "KeyPeriod.h"
#include "TimeHelpers.h"

TDateTime FileTimeToDateTime(FILETIME time) {
    SYSTEMTIME system{};
    if (!FileTimeToSystemTime(&time, &system))
        return 0;
    return SystemTimeToDateTime(system);
}

int CheckPrivateKeyPeriod(FILETIME notBefore, FILETIME checkTime, int months, int days) {
    const TDateTime end = IncMonth(FileTimeToDateTime(notBefore), months) + days;
    if (CompareDateTime(end, FileTimeToDateTime(checkTime)) >= 0)
        return 0;
    return static_cast<int>(FileTimeDiffDays(notBefore, checkTime));
}
