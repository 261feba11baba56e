// Restores the thread's last error, as found on construction, when the scope ends.
#pragma once
#include <windows.h>

class TLastErrorKept {
public:
    TLastErrorKept() : value(GetLastError()) {}
    ~TLastErrorKept() { SetLastError(value); }
    TLastErrorKept(const TLastErrorKept&) = delete;
    TLastErrorKept& operator=(const TLastErrorKept&) = delete;

private:
    DWORD value;
};
