// The class library's wide string: UTF-16 text held in an automation string (BSTR) it owns.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>

class WideString {
public:
    WideString() = default;
    WideString(const wchar_t* text);
    WideString(const wchar_t* text, int length);
    WideString(const std::wstring& text) : WideString(text.data(), static_cast<int>(text.size())) {}
    WideString(const WideString& other) : WideString(other.text, other.Length()) {}
    WideString(WideString&& other) noexcept : text(other.text) { other.text = nullptr; }
    WideString& operator=(WideString other) noexcept {
        std::swap(text, other.text);
        return *this;
    }
    ~WideString() { SysFreeString(text); }

    // Takes over a BSTR that the caller allocated; no copy is made.
    static WideString Attach(BSTR owned);
    // Hands the BSTR to the caller, who frees it; the string is empty afterwards.
    BSTR Detach();

    BSTR c_bstr() const { return text; }
    int Length() const { return text ? static_cast<int>(SysStringLen(text)) : 0; }
    bool IsEmpty() const { return Length() == 0; }
    std::wstring str() const { return std::wstring(text ? text : L"", Length()); }

    friend bool operator==(const WideString& a, const WideString& b) { return a.str() == b.str(); }
    friend bool operator!=(const WideString& a, const WideString& b) { return !(a == b); }

private:
    BSTR text = nullptr;  // null stands for the empty text
};
