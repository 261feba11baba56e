// Late-bound automation: the owning holder of one object (TMyComPtr), the argument list of one
// invocation (TVAR_ARGS) and the exception of a failed invocation (TError). Nothing here
// initialises COM: the calling thread must have done so. Texts are cp1251.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <vector>
#include "AnsiString.h"
#include "ComOwned.h"
#include "Variant.h"

// The arguments of one invocation, in the order of the member's parameters.
class TVAR_ARGS : public std::vector<Variant> {
public:
    void Clear() { clear(); }
    void Add(const Variant& value) { push_back(value); }
    int Count() const { return static_cast<int>(size()); }
    const Variant& Item(int index) const { return at(static_cast<size_t>(index)); }
};

// A failed member lookup or invocation: the message (the class library's string) and the code.
class TError : public AnsiString {
public:
    // "<member>. " and, for DISP_E_EXCEPTION, what the object reported ("Ошибка в <source>: "
    // and the description, or "Undefined OLE Exception: " and the system text), with its wCode,
    // else its scode, else DISP_E_EXCEPTION as the code; for any other code "OLE error: " and
    // the code's system text, with that code.
    TError(HRESULT result, EXCEPINFO& exception, const wchar_t* member);
    int code;
};

// Owns one reference to one automation object. Every invocation raises TError on failure,
// also one through an empty holder (E_POINTER).
class TMyComPtr {
public:
    TMyComPtr();
    ~TMyComPtr();
    TMyComPtr(const TMyComPtr&) = delete;
    TMyComPtr& operator=(const TMyComPtr&) = delete;

    // Raises EOleException with the HRESULT and the thread's COM error description (else the
    // code's system text).
    void CreateDispatchObject(const wchar_t* progId);

    void PutDispatchProperty(const wchar_t* name, TVAR_ARGS& args);
    void PutRefDispatchProperty(const wchar_t* name, TVAR_ARGS& args);
    Variant GetDispatchProperty(const wchar_t* name, TVAR_ARGS* args = nullptr);
    void CallDispatchMethod(const wchar_t* name, TVAR_ARGS* args = nullptr);
    Variant CallDispatchFunction(const wchar_t* name, TVAR_ARGS* args = nullptr);
    // A null name invokes the default member; the arguments go in reverse order, a put's one
    // named DISPID_PROPERTYPUT; result may be null.
    void InvokeDispatch(const wchar_t* name, WORD kind, TVAR_ARGS* args, Variant* result);

    // Keeps the pointer (with a reference of its own) only while the holder is empty.
    void AttachDispatch(IDispatch* object);
    // The same for the object a Variant holds; nothing for a Variant that holds none.
    void AttachDispatch(const Variant& value);
    IDispatch* Get() const { return iface; }

private:
    void ResetState();

    IDispatch* iface = nullptr;
    TExceptionInfo excepInfo;
    UINT argErr = 0;
    HRESULT lastResult = S_OK;
    CLSID clsid;
};

// Bytes as a BSTR of their byte length (odd lengths kept), held by a Variant.
Variant BytesToVariant(const void* data, unsigned int size);
// The bytes of a BSTR Variant, by its byte length; raises EVariantTypeCastError for another kind.
std::string VariantBytes(const Variant& value);
