#include "DateTime.h"
#include <cmath>

namespace {
bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static const int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : Days[month - 1];
}

// Days from 1 January of year 1 to the date (proleptic Gregorian calendar).
long long DayNumber(int year, int month, int day) {
    const long long y = year - 1;
    long long days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    return days + day - 1;
}

const long long DayNumberOfZero = DayNumber(1899, 12, 30);

double DatePart(TDateTime value) {
    return std::trunc(value);
}

// The time of day as a fraction of a day, whatever the sign of the value.
double TimePart(TDateTime value) {
    return std::fabs(value - std::trunc(value));
}

TDateTime Combine(double date, double time) {
    return date >= 0 ? date + time : date - time;
}
void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    long long days = static_cast<long long>(DatePart(value)) + DayNumberOfZero;
    year = static_cast<int>(days / 146097 * 400 + 1);
    days %= 146097;
    while (days >= (IsLeapYear(year) ? 366 : 365)) {
        days -= IsLeapYear(year) ? 366 : 365;
        ++year;
    }
    month = 1;
    while (days >= DaysInMonth(year, month)) {
        days -= DaysInMonth(year, month);
        ++month;
    }
    day = static_cast<int>(days) + 1;
}
}  // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    const double date = static_cast<double>(DayNumber(year, month, day) - DayNumberOfZero);
    const double time = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / 86400000.0;
    return Combine(date, time);
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& time) {
    return EncodeDateTime(time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond,
                          time.wMilliseconds);
}

TDateTime IncMonth(TDateTime value, int months) {
    int year, month, day;
    DecodeDate(value, year, month, day);
    const int index = year * 12 + (month - 1) + months;
    year = index / 12;
    month = index % 12 + 1;
    if (day > DaysInMonth(year, month))
        day = DaysInMonth(year, month);
    const double date = static_cast<double>(DayNumber(year, month, day) - DayNumberOfZero);
    return Combine(date, TimePart(value));
}

int CompareDateTime(TDateTime a, TDateTime b) {
    const double OneMillisecond = 1.0 / 86400000.0;
    if (std::fabs(a - b) < OneMillisecond)
        return 0;
    return a < b ? -1 : 1;
}
