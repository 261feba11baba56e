// Date-times (the class library's TDateTime, in local time) and their formatting. Format
// letters, in either case: c (short date and long time), d, dd, ddd, dddd, ddddd (short date),
// dddddd (long date), m, mm, mmm, mmmm (month; minutes right after an hour), yy, yyyy, h, hh, n,
// nn, s, ss, z, zzz, t (short time), tt (long time), am/pm, a/p, ampm, "/" and ":" (the locale's
// separators); text in single or double quotes stands as it is, and any other character for
// itself.
#pragma once
#include "DateTime.h"
#include <string>

namespace HierLog {

TDateTime Now();
std::string FormatDateTime(const std::string& format, TDateTime value);
// The user's locale: the short date format and the default text of a date-time.
std::string ShortDateFormat();
std::string DateTimeToStr(TDateTime value);

}  // namespace HierLog
