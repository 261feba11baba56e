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

// The civil date of a day counted from 1 January 1970.
void CivilFromDays(long long z, int& year, int& month, int& day) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const long long DaysTo1970 = 25569;
const long long MsPerDay = 86400000;

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
    CivilFromDays(static_cast<long long>(DatePart(value)) - DaysTo1970, year, month, day);
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

TDateTimeParts DecodeDateTime(TDateTime value) {
    const long long ms = std::llround(value * MsPerDay);
    const long long days = ms / MsPerDay;
    long long time = ms % MsPerDay;
    if (time < 0)  // before 1899 the fraction counts forward from the day's start as well
        time = -time;
    TDateTimeParts p{};
    CivilFromDays(days - DaysTo1970, p.year, p.month, p.day);
    p.hour = static_cast<int>(time / 3600000);
    p.minute = static_cast<int>(time / 60000 % 60);
    p.second = static_cast<int>(time / 1000 % 60);
    p.ms = static_cast<int>(time % 1000);
    p.weekday = static_cast<int>(((days - DaysTo1970) % 7 + 7 + 4) % 7);  // 1 January 1970 was a Thursday
    return p;
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
