// The platform calls behind the Windows version and architecture queries (a seam, Seam.h): Wine
// reports only the versions of its own list, always the full record and one processor width.
#pragma once
#include <windows.h>

struct TSystemInfoApi {
    // Failing the extended record reaches the short one (code 390) and the failure of both.
    decltype(&::GetVersionExA) GetVersionExA;
    // Missing GetNativeSystemInfo (older Windows) and a 64-bit system's answer.
    decltype(&::GetProcAddress) GetProcAddress;
    // The answer where GetNativeSystemInfo is missing.
    decltype(&::GetSystemInfo) GetSystemInfo;

    static TSystemInfoApi Real();
};
