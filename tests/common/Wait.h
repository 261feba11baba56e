// Bounded waits of the tests, with margins that hold on a slow host.
#pragma once
#include <windows.h>
#include <cstdlib>

// ms times VORSALT_TIME_SCALE, which tools/sandbox.sh sets where every process start is slow.
inline DWORD Scaled(DWORD ms) {
    const char* scale = std::getenv("VORSALT_TIME_SCALE");
    const double factor = scale != nullptr ? std::atof(scale) : 1.0;
    return factor > 1.0 ? static_cast<DWORD>(ms * factor) : ms;
}

// Polls predicate every 50 ms until it holds or Scaled(timeoutMs) have passed; whether it held.
template <class Predicate>
bool WaitUntil(Predicate predicate, DWORD timeoutMs) {
    const DWORD limit = Scaled(timeoutMs);
    const DWORD start = GetTickCount();
    for (;;) {
        if (predicate())
            return true;
        if (GetTickCount() - start >= limit)
            return false;
        Sleep(50);
    }
}
