// The calls whose failures Wine cannot produce on demand; the real ones by default.
#pragma once
#include <windows.h>

struct PkiSeam {
    BOOL(WINAPI* enumProviders)(DWORD index, DWORD* reserved, DWORD flags, DWORD* type, LPSTR name, DWORD* size);
    HLOCAL(WINAPI* localAlloc)(UINT flags, SIZE_T bytes);
};

PkiSeam& ProviderCalls();
