#include "WideString.h"
#include <new>

WideString::WideString(const wchar_t* source) : WideString(source, source ? static_cast<int>(wcslen(source)) : 0) {}

WideString::WideString(const wchar_t* source, int length) {
    if (source == nullptr || length <= 0)
        return;
    text = SysAllocStringLen(source, static_cast<UINT>(length));
    if (text == nullptr)
        throw std::bad_alloc();
}

WideString WideString::Attach(BSTR owned) {
    WideString result;
    result.text = owned;
    return result;
}

BSTR WideString::Detach() {
    BSTR owned = text;
    text = nullptr;
    return owned;
}
