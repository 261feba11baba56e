// Dates of the tests as the platform's time records.
#pragma once
#include <windows.h>
#include <cstdio>
#include <string>

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

// The moment a number of seconds (negative: before) after a given one.
inline SYSTEMTIME SecondsAfter(const SYSTEMTIME& moment, long long seconds) {
    FILETIME file;
    SystemTimeToFileTime(&moment, &file);
    ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart += static_cast<ULONGLONG>(seconds * 10000000LL);
    const FILETIME later{ticks.LowPart, ticks.HighPart};
    SYSTEMTIME time;
    FileTimeToSystemTime(&later, &time);
    return time;
}

// "2026-07-15 14:23:45.000": a record as text, for comparisons that tell what differs.
inline std::string TimeText(const SYSTEMTIME& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}
