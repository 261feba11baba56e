// Dates of the tests as the platform's time records.
#pragma once
#include <windows.h>

inline SYSTEMTIME SystemTimeOf(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

// The same date as a FILETIME; all zero for a record that is no date.
inline FILETIME FileTimeOf(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    const SYSTEMTIME time = SystemTimeOf(year, month, day, hour, minute, second);
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    return file;
}
