// The objects' own sending: one POST over WinHTTP, no proxy.
#pragma once
#include <windows.h>
#include <string>

struct THttpAnswer {
    DWORD status = 0;
    std::string body;
};

// Throws TMemberFailure when the address is no URL or nothing answered.
THttpAnswer PostRequest(const std::wstring& url, const wchar_t* contentType, const std::string& body);
