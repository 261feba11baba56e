// The private key's usage period, counted in the class library's date-time.
#pragma once
#include <windows.h>
#include "DateTime.h"

// The FILETIME (UTC) as it stands, without any time-zone change; 0 for a time beyond the
// calendar's reach.
TDateTime FileTimeToDateTime(FILETIME time);

// 0 when the check time is not later than NotBefore plus the months (same day of the month, the
// last day of a shorter month, same time of day) and the days (24 hours each); else the whole
// days from NotBefore to the check time.
int CheckPrivateKeyPeriod(FILETIME notBefore, FILETIME checkTime, int months, int days);
