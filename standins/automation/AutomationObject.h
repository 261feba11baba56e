// The base of the stand-in automation objects: IDispatch over a table of members, each reached
// by its name (any case) and by one kind of invocation. A put must name its one argument
// DISPID_PROPERTYPUT, as the platform's callers do; a wrong count or type is refused as the
// platform refuses it. A member that fails reports an automation exception with the object's
// program identifier as its source. Every invocation goes to the journal (Journal.h); the
// caller's last error is left as it was.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <atomic>
#include <string>
#include <vector>
#include "Failure.h"


enum TMemberKind : WORD { MemberMethod = DISPATCH_METHOD, MemberGet = DISPATCH_PROPERTYGET,
                          MemberPut = DISPATCH_PROPERTYPUT, MemberPutRef = DISPATCH_PROPERTYPUTREF };

struct TMember {
    const wchar_t* name;
    TMemberKind kind;
    std::vector<VARTYPE> arguments;  // in the order of the member's parameters
};

// The interface by which one stand-in object finds another of its own kind behind an IDispatch.
// {6E1B1D8C-6F4E-4B8A-9A57-1D2C3B4A5F60}
extern const IID IID_IStandinObject;

class TAutomationObject : public IDispatch {
public:
    TAutomationObject(const wchar_t* progId, std::vector<TMember> members);
    virtual ~TAutomationObject() = default;

    const std::wstring& ProgId() const { return progId; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override;

    // The stand-in object behind a dispatch pointer, of the class wanted; null for another's.
    template <typename T>
    static T* Behind(IDispatch* object) {
        TAutomationObject* own = nullptr;
        if (object == nullptr || FAILED(object->QueryInterface(IID_IStandinObject, reinterpret_cast<void**>(&own))))
            return nullptr;
        own->Release();
        return dynamic_cast<T*>(own);
    }

protected:
    // Runs member index (the table's order) with its arguments in parameter order; the result,
    // when the member has one, goes into result. Throws TMemberFailure.
    virtual void Call(size_t member, VARIANT* arguments, VARIANT& result) = 0;

private:
    std::wstring progId;
    std::vector<TMember> members;
    std::atomic<long> references{1};
};

// Bytes as a BSTR of their byte length, and back.
BSTR BytesToBstr(const std::string& bytes);
std::string BstrBytes(BSTR text);
// A new object into a result.
void ResultObject(VARIANT& result, TAutomationObject* object);
// The time (UTC) as an automation date in local time.
DATE UtcToLocalDate(const SYSTEMTIME& utc);
