// A LocalAlloc for a seam (the providers', the certificate helpers') that finds no memory.
#pragma once
#include <windows.h>

inline HLOCAL WINAPI FailingLocalAlloc(UINT, SIZE_T) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}
