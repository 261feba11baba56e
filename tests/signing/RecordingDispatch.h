// An automation object of the test's own that records every invocation as it arrives and
// answers as the test scripts it: the wire of the automation helpers, seen from the object.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <functional>
#include <string>
#include <vector>

struct TRecordedCall {
    DISPID id = 0;
    WORD kind = 0;
    std::vector<VARIANT> args;  // as the array holds them (the last parameter first); copies
    std::vector<DISPID> named;
};

class TRecordingDispatch : public IDispatch {
public:
    // names: the members, DISPIDs 1, 2, ... in this order.
    explicit TRecordingDispatch(std::vector<std::wstring> names) : names(std::move(names)) {}
    ~TRecordingDispatch();

    // The answer of the next invocations: its HRESULT, what goes into the exception information
    // and the result.
    HRESULT answer = S_OK;
    std::function<void(EXCEPINFO&)> fillException;
    VARIANT result{};

    std::vector<TRecordedCall> calls;
    int lookups = 0;
    long References() const { return references; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }  // lives on the stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params, VARIANT* out,
                                     EXCEPINFO* exception, UINT*) override;

private:
    std::vector<std::wstring> names;
    long references = 1;
};
