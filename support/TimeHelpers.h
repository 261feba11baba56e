// Local time to UTC, FILETIME differences and date texts.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

// 0; 2 no time zone (or the local record is not a time); 3 and 4 the conversion failed.
// Applies the daylight-saving rule of the date converted where the system can, else the bias now.
int LocalTimeToUtc(const SYSTEMTIME& local, SYSTEMTIME& utc, std::string* errorText);
// The same by the bias in force now, whatever the date: 0; 2, 3 or 4 the step that failed
// (SystemTimeToFileTime, LocalFileTimeToFileTime, FileTimeToSystemTime), with its text.
int LocalTimeToUtcByBiasNow(const SYSTEMTIME& local, SYSTEMTIME& utc, std::string* errorText);

// The time as it stands (no zone conversion) in a GetDateFormatA picture; "" when it cannot be formatted.
std::string FileTimeToDateText(FILETIME time, const char* picture);

// (A - B) in tenths of a second, truncated toward zero.
int64_t FileTimeDiffTenths(FILETIME a, FILETIME b);
// |B - A| in whole days and in whole hours.
uint64_t FileTimeDiffDays(FILETIME a, FILETIME b);
uint64_t FileTimeDiffHours(FILETIME a, FILETIME b);
