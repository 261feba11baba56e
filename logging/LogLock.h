// The library's re-entrant lock (a critical section) and its scoped holder.
#pragma once
#include <windows.h>

namespace HierLog {

class TLogLock {
public:
    TLogLock() { InitializeCriticalSection(&section); }
    ~TLogLock() { DeleteCriticalSection(&section); }
    TLogLock(const TLogLock&) = delete;
    TLogLock& operator=(const TLogLock&) = delete;
    void Enter() { EnterCriticalSection(&section); }
    void Leave() { LeaveCriticalSection(&section); }

private:
    CRITICAL_SECTION section;
};

class TLogGuard {
public:
    explicit TLogGuard(TLogLock& lock) : lock(lock) { lock.Enter(); }
    ~TLogGuard() { lock.Leave(); }
    TLogGuard(const TLogGuard&) = delete;
    TLogGuard& operator=(const TLogGuard&) = delete;

private:
    TLogLock& lock;
};

}  // namespace HierLog
