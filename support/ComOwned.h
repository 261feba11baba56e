// Owners of automation things beside the string (TSysString, SysString.h): the thread's error
// object, the texts of an invocation's exception and the arguments of an invocation.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <memory>
#include "Owned.h"

struct TErrorInfoTraits : TOwnedTraits<IErrorInfo*, ULONG, 0> {
    static ULONG Close(Handle info) { return info->Release(); }
};
using TComErrorInfo = TOwned<TErrorInfoTraits>;

// An EXCEPINFO whose texts are freed when it is cleared or goes.
class TExceptionInfo {
public:
    TExceptionInfo() : info() {}
    ~TExceptionInfo() { Clear(); }
    TExceptionInfo(const TExceptionInfo&) = delete;
    TExceptionInfo& operator=(const TExceptionInfo&) = delete;

    EXCEPINFO& Get() { return info; }
    void Clear() {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
        info = EXCEPINFO{};
    }

private:
    EXCEPINFO info;
};

// The VARIANTARGs of one invocation: empty at first, cleared when they go.
class TVariantArgs {
public:
    explicit TVariantArgs(UINT count) : values(count != 0 ? new VARIANTARG[count] : nullptr), count(count) {
        for (UINT i = 0; i < count; ++i)
            VariantInit(&values[i]);
    }
    ~TVariantArgs() {
        for (UINT i = 0; i < count; ++i)
            VariantClear(&values[i]);
    }
    TVariantArgs(const TVariantArgs&) = delete;
    TVariantArgs& operator=(const TVariantArgs&) = delete;

    VARIANTARG* Get() const { return values.get(); }
    VARIANTARG& operator[](UINT index) const { return values[index]; }

private:
    std::unique_ptr<VARIANTARG[]> values;
    UINT count;
};
