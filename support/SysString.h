// Owner of one automation string (BSTR), freed with SysFreeString.
#pragma once
#include <windows.h>
#include <oleauto.h>

class TSysString {
public:
    TSysString() = default;
    explicit TSysString(BSTR text) : text(text) {}
    ~TSysString() { SysFreeString(text); }

    TSysString(const TSysString&) = delete;
    TSysString& operator=(const TSysString&) = delete;

    BSTR Get() const { return text; }
    // For out-parameters of the platform: frees what is held and exposes the slot.
    BSTR* Receive() {
        SysFreeString(text);
        text = nullptr;
        return &text;
    }

private:
    BSTR text = nullptr;
};
