#include "IDispatchLib.h"
#include <new>
#include "ComOwned.h"
#include "Conversions.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "OleException.h"
#include "SysString.h"

namespace {

std::string Ansi(const wchar_t* text) {
    TLocalFree<char> ansi(WideToAnsi(text));
    return ansi.Get() ? ansi.Get() : "";
}

// The description of the thread's COM error object; "" without one (the object is taken).
std::string ComErrorDescription() {
    TComErrorInfo info;
    if (GetErrorInfo(0, info.Receive()) != S_OK || !info)
        return std::string();
    TSysString description;
    std::string text;
    if (SUCCEEDED(info.Get()->GetDescription(description.Receive())))
        text = Ansi(description.Get());
    return text;
}

[[noreturn]] void RaiseOleException(HRESULT result) {
    std::string message = ComErrorDescription();
    if (message.empty())
        message = GetSystemErrorMessage(static_cast<unsigned>(result), false);
    throw EOleException(message, result, "", "", 0);
}

}  // namespace

TError::TError(HRESULT result, EXCEPINFO& exception, const wchar_t* member)
    : AnsiString(Ansi(member) + ". "), code(result) {
    if (result != DISP_E_EXCEPTION) {
        *this += "OLE error: " + GetSystemErrorMessage(static_cast<unsigned>(result), false);
        return;
    }
    if (exception.pfnDeferredFillIn != nullptr)
        exception.pfnDeferredFillIn(&exception);
    if (exception.bstrSource != nullptr && SysStringLen(exception.bstrSource) != 0)
        *this += "Ошибка в " + Ansi(exception.bstrSource) + ": ";
    if (exception.bstrDescription != nullptr && SysStringLen(exception.bstrDescription) != 0)
        *this += Ansi(exception.bstrDescription);
    else
        *this += "Undefined OLE Exception: " + GetSystemErrorMessage(static_cast<unsigned>(DISP_E_EXCEPTION), false);
    code = exception.wCode != 0 ? exception.wCode : exception.scode;
    if (code == 0)  // an exception that names no code is still a failure
        code = DISP_E_EXCEPTION;
}

TMyComPtr::TMyComPtr() : clsid(CLSID_NULL) {}

TMyComPtr::~TMyComPtr() {
    if (iface != nullptr)
        iface->Release();
}

void TMyComPtr::CreateDispatchObject(const wchar_t* progId) {
    HRESULT result = CLSIDFromProgID(progId, &clsid);
    if (FAILED(result))
        RaiseOleException(result);
    IDispatch* created = nullptr;
    result = CoCreateInstance(clsid, nullptr,
                              CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(&created));
    if (FAILED(result))
        RaiseOleException(result);
    if (iface != nullptr)
        iface->Release();
    iface = created;
}

void TMyComPtr::ResetState() {
    lastResult = S_OK;
    excepInfo.Clear();
    argErr = 0;
}

void TMyComPtr::InvokeDispatch(const wchar_t* name, WORD kind, TVAR_ARGS* args, Variant* result) {
    ResetState();
    if (iface == nullptr) {
        lastResult = E_POINTER;
        throw TError(lastResult, excepInfo.Get(), name ? name : L"");
    }
    DISPID id = 0;
    const UINT count = args ? static_cast<UINT>(args->Count()) : 0;
    if (name != nullptr)
        lastResult = iface->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(&name), 1, LOCALE_SYSTEM_DEFAULT, &id);
    if (SUCCEEDED(lastResult)) {
        const TVariantArgs values(count);
        HRESULT copied = S_OK;
        for (UINT i = 0; i < count && SUCCEEDED(copied); ++i)
            copied = VariantCopy(&values[count - 1 - i], const_cast<VARIANT*>(&args->Item(static_cast<int>(i)).Data()));
        DISPID putId = DISPID_PROPERTYPUT;
        DISPPARAMS params{values.Get(), nullptr, count, 0};
        if (kind == DISPATCH_PROPERTYPUT || kind == DISPATCH_PROPERTYPUTREF) {
            params.rgdispidNamedArgs = &putId;
            params.cNamedArgs = 1;
        }
        Variant local;
        lastResult = FAILED(copied) ? copied
                                    : iface->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, kind, &params,
                                                    result ? local.Receive() : nullptr, &excepInfo.Get(), &argErr);
        if (result != nullptr)
            *result = Variant(local.Data());
    }
    if (lastResult != S_OK)
        throw TError(lastResult, excepInfo.Get(), name ? name : L"");
}

void TMyComPtr::PutDispatchProperty(const wchar_t* name, TVAR_ARGS& args) {
    InvokeDispatch(name, DISPATCH_PROPERTYPUT, &args, nullptr);
}

void TMyComPtr::PutRefDispatchProperty(const wchar_t* name, TVAR_ARGS& args) {
    InvokeDispatch(name, DISPATCH_PROPERTYPUTREF, &args, nullptr);
}

Variant TMyComPtr::GetDispatchProperty(const wchar_t* name, TVAR_ARGS* args) {
    Variant result;
    InvokeDispatch(name, DISPATCH_PROPERTYGET, args, &result);
    return result;
}

void TMyComPtr::CallDispatchMethod(const wchar_t* name, TVAR_ARGS* args) {
    InvokeDispatch(name, DISPATCH_METHOD, args, nullptr);
}

Variant TMyComPtr::CallDispatchFunction(const wchar_t* name, TVAR_ARGS* args) {
    Variant result;
    InvokeDispatch(name, DISPATCH_METHOD, args, &result);
    return result;
}

void TMyComPtr::AttachDispatch(IDispatch* object) {
    if (iface != nullptr || object == nullptr)
        return;
    object->AddRef();
    iface = object;
}

void TMyComPtr::AttachDispatch(const Variant& value) {
    AttachDispatch(value.Type() == VT_DISPATCH ? value.AsDispatch() : nullptr);
}

Variant BytesToVariant(const void* data, unsigned int size) {
    const BSTR bytes = SysAllocStringByteLen(static_cast<const char*>(data), size);
    if (bytes == nullptr)
        throw std::bad_alloc();
    return Variant::FromBstr(bytes);
}

std::string VariantBytes(const Variant& value) {
    if (value.Type() != VT_BSTR)
        throw EVariantTypeCastError("Could not convert variant of type (" + Variant::TypeName(value.Type()) +
                                    ") into type (OleStr)");
    const BSTR text = value.Data().bstrVal;
    return text ? std::string(reinterpret_cast<const char*>(text), SysStringByteLen(text)) : std::string();
}
