#include "IDispatchLib.h"
#include <memory>
#include <new>
#include "Conversions.h"
#include "ErrorText.h"
#include "LocalFree.h"
#include "OleException.h"

namespace {

std::string Ansi(const wchar_t* text) {
    TLocalFree<char> ansi(WideToAnsi(text));
    return ansi.Get() ? ansi.Get() : "";
}

void FreeExceptionTexts(EXCEPINFO& info) {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info = EXCEPINFO{};
}

// The description of the thread's COM error object; "" without one (the object is taken).
std::string ComErrorDescription() {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || info == nullptr)
        return std::string();
    BSTR description = nullptr;
    std::string text;
    if (SUCCEEDED(info->GetDescription(&description)))
        text = Ansi(description);
    SysFreeString(description);
    info->Release();
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

TMyComPtr::TMyComPtr() : excepInfo(), clsid(CLSID_NULL) {}

TMyComPtr::~TMyComPtr() {
    FreeExceptionTexts(excepInfo);
    if (iface != nullptr)
        iface->Release();
}

void TMyComPtr::CreateDispatchObject(const wchar_t* progId) {
    HRESULT result = CLSIDFromProgID(progId, &clsid);
    if (FAILED(result))
        RaiseOleException(result);
    IDispatch* created = nullptr;
    result = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                                  CLSCTX_REMOTE_SERVER,
                              IID_IDispatch, reinterpret_cast<void**>(&created));
    if (FAILED(result))
        RaiseOleException(result);
    if (iface != nullptr)
        iface->Release();
    iface = created;
}

void TMyComPtr::ResetState() {
    lastResult = S_OK;
    FreeExceptionTexts(excepInfo);
    argErr = 0;
}

void TMyComPtr::InvokeDispatch(const wchar_t* name, WORD kind, TVAR_ARGS* args, Variant* result) {
    ResetState();
    if (iface == nullptr) {
        lastResult = E_POINTER;
        throw TError(lastResult, excepInfo, name ? name : L"");
    }
    DISPID id = 0;
    const UINT count = args ? static_cast<UINT>(args->Count()) : 0;
    if (name != nullptr)
        lastResult = iface->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(&name), 1, LOCALE_SYSTEM_DEFAULT, &id);
    if (SUCCEEDED(lastResult)) {
        std::unique_ptr<VARIANTARG[]> values(count ? new VARIANTARG[count] : nullptr);
        for (UINT i = 0; i < count; ++i)
            VariantInit(&values[i]);
        HRESULT copied = S_OK;
        for (UINT i = 0; i < count && SUCCEEDED(copied); ++i)
            copied = VariantCopy(&values[count - 1 - i], const_cast<VARIANT*>(&args->Item(static_cast<int>(i)).Data()));
        DISPID putId = DISPID_PROPERTYPUT;
        DISPPARAMS params{values.get(), nullptr, count, 0};
        if (kind == DISPATCH_PROPERTYPUT || kind == DISPATCH_PROPERTYPUTREF) {
            params.rgdispidNamedArgs = &putId;
            params.cNamedArgs = 1;
        }
        VARIANT local;
        VariantInit(&local);
        lastResult = FAILED(copied) ? copied
                                    : iface->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, kind, &params,
                                                    result ? &local : nullptr, &excepInfo, &argErr);
        if (result != nullptr)
            *result = Variant(local);
        VariantClear(&local);
        for (UINT i = 0; i < count; ++i)
            VariantClear(&values[i]);
    }
    if (lastResult != S_OK)
        throw TError(lastResult, excepInfo, name ? name : L"");
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
