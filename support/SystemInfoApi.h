// The platform calls behind the Windows version and architecture queries; tests replace
// entries to reach answers that the running system cannot give.
#pragma once
#include <windows.h>

struct TSystemInfoApi {
    BOOL(WINAPI* GetVersionExA)(LPOSVERSIONINFOA info);
    FARPROC(WINAPI* GetProcAddress)(HMODULE module, LPCSTR name);
    void(WINAPI* GetSystemInfo)(LPSYSTEM_INFO info);
};

// Defaults to the real functions.
TSystemInfoApi& SystemInfoApi();
