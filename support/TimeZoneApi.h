// What LocalTimeToUtc and the signing service's time comparison ask of the system (a seam,
// Seam.h): Wine always has a time zone, always with a daylight bias of -60, and the
// zone-specific conversion, so the fall-back path, the failures and other biases are reached
// through it.
#pragma once
#include <windows.h>

struct TTimeZoneApi {
    // TIME_ZONE_ID_INVALID: no time zone; a daylight bias other than -60.
    decltype(&::GetTimeZoneInformation) GetTimeZoneInformation;
    // kernel32 without TzSpecificLocalTimeToSystemTime (older Windows): the fall-back by the bias now.
    decltype(&::LoadLibraryA) LoadLibraryA;
    decltype(&::GetProcAddress) GetProcAddress;
    // A failing conversion by the bias now (the fall-back path, the OCSP response's time).
    decltype(&::LocalFileTimeToFileTime) LocalFileTimeToFileTime;

    static TTimeZoneApi Real();
};
