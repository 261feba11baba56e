// The objects' own sending: one POST over WinHTTP, no proxy.
#pragma once
#include <windows.h>
#include <string>

struct THttpAnswer {
    DWORD status = 0;
    std::string body;
};

// The user agents of the automation objects' and of the older libraries' requests.
constexpr const wchar_t* AutomationAgent = L"Vorsalt automation stand-in";
constexpr const wchar_t* OldLibraryAgent = L"Vorsalt old library stand-in";

// Throws TMemberFailure when the address is no URL or nothing answered.
THttpAnswer PostRequest(const std::wstring& url, const wchar_t* contentType, const std::string& body,
                        const wchar_t* agent = AutomationAgent);
