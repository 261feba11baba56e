// The class library's date-time: days since 30 December 1899, the time of day as the fraction
// (before that day the value is negative and the fraction still counts forward from midnight).
#pragma once
#include <windows.h>

using TDateTime = double;

// A valid date and time of day.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond);
TDateTime SystemTimeToDateTime(const SYSTEMTIME& time);

// The date and time of day of a value rounded to the nearest millisecond (so a value less than
// half a millisecond before midnight is the next day at 0:00:00.000), in the proleptic Gregorian
// calendar; weekday 0 is Sunday.
struct TDateTimeParts {
    int year, month, day, hour, minute, second, ms, weekday;
};
TDateTimeParts DecodeDateTime(TDateTime value);

// The same day of the month (the month's last day when it is shorter) and the same time of day,
// months later (earlier when negative).
TDateTime IncMonth(TDateTime value, int months);

// -1, 0 or 1; values less than a millisecond apart are the same time (the fraction of a day is
// no exact binary number, and the x87 unit keeps more digits than a stored value).
int CompareDateTime(TDateTime a, TDateTime b);
