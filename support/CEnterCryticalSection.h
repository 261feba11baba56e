// Scoped lock: enters the critical section on construction, leaves it on destruction.
#pragma once
#include <windows.h>

class CEnterCryticalSection {
public:
    explicit CEnterCryticalSection(CRITICAL_SECTION* section) : section(section) { EnterCriticalSection(section); }
    ~CEnterCryticalSection() { LeaveCriticalSection(section); }
    CEnterCryticalSection(const CEnterCryticalSection&) = delete;
    CEnterCryticalSection& operator=(const CEnterCryticalSection&) = delete;

private:
    CRITICAL_SECTION* section;
};
