#include "AutomationObject.h"
#include "Journal.h"
#include "LastErrorKept.h"

const IID IID_IStandinObject = {0x6e1b1d8c, 0x6f4e, 0x4b8a, {0x9a, 0x57, 0x1d, 0x2c, 0x3b, 0x4a, 0x5f, 0x60}};

namespace {

const wchar_t* KindName(WORD kind) {
    switch (kind) {
    case DISPATCH_METHOD:
        return L"method";
    case DISPATCH_PROPERTYGET:
        return L"get";
    case DISPATCH_PROPERTYPUT:
        return L"put";
    case DISPATCH_PROPERTYPUTREF:
        return L"putref";
    default:
        return L"kind";
    }
}

std::wstring ArgumentText(const VARIANT& value) {
    switch (value.vt) {
    case VT_I4:
        return L"I4:" + std::to_wstring(value.lVal);
    case VT_BOOL:
        return value.boolVal ? L"BOOL:true" : L"BOOL:false";
    case VT_BSTR:
        return L"BSTR:" + std::to_wstring(SysStringByteLen(value.bstrVal));
    case VT_DISPATCH: {
        const auto* own = TAutomationObject::Behind<TAutomationObject>(value.pdispVal);
        return L"DISPATCH:" + (own ? own->ProgId() : std::wstring(L"foreign"));
    }
    default:
        return L"VT:" + std::to_wstring(value.vt);
    }
}

void Report(EXCEPINFO* exception, const std::wstring& source, const TMemberFailure& failure) {
    if (exception == nullptr)
        return;
    *exception = EXCEPINFO{};
    if (failure.scode == S_OK && failure.description.empty())
        return;  // the bare exception of the script
    exception->scode = failure.scode;
    exception->bstrSource = SysAllocString(source.c_str());
    exception->bstrDescription = SysAllocString(failure.description.c_str());
}

}  // namespace

TAutomationObject::TAutomationObject(const wchar_t* progId, std::vector<TMember> members)
    : progId(progId), members(std::move(members)) {}

HRESULT TAutomationObject::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IStandinObject)) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG TAutomationObject::AddRef() {
    return static_cast<ULONG>(++references);
}

ULONG TAutomationObject::Release() {
    const long left = --references;
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT TAutomationObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT TAutomationObject::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT TAutomationObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (names == nullptr || ids == nullptr || count != 1)
        return E_INVALIDARG;
    for (size_t i = 0; i < members.size(); ++i)
        if (_wcsicmp(members[i].name, names[0]) == 0) {
            ids[0] = static_cast<DISPID>(i + 1);
            return S_OK;
        }
    ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT TAutomationObject::Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* exception, UINT* argumentError) {
    const TLastErrorKept callersError;  // what the object's own platform calls leave stays inside
    if (id < 1 || static_cast<size_t>(id) > members.size())
        return DISP_E_MEMBERNOTFOUND;
    const TMember& member = members[id - 1];
    const UINT count = params ? params->cArgs : 0;
    std::wstring line = progId + L"." + member.name + L" " + KindName(kind);
    for (UINT i = count; i > 0; --i)
        line += L" " + ArgumentText(params->rgvarg[i - 1]);
    JournalLine(line);

    if (kind != member.kind)
        return DISP_E_MEMBERNOTFOUND;
    const bool put = kind == DISPATCH_PROPERTYPUT || kind == DISPATCH_PROPERTYPUTREF;
    const UINT named = params ? params->cNamedArgs : 0;
    if (put && (named != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
        return DISP_E_PARAMNOTFOUND;
    if (!put && named != 0)
        return DISP_E_NONAMEDARGS;
    if (count != member.arguments.size())
        return DISP_E_BADPARAMCOUNT;
    std::vector<VARIANT> arguments(count);
    for (UINT i = 0; i < count; ++i) {
        arguments[i] = params->rgvarg[count - 1 - i];
        if (arguments[i].vt != member.arguments[i]) {
            if (argumentError)
                *argumentError = count - 1 - i;
            return DISP_E_TYPEMISMATCH;
        }
    }
    VARIANT value;
    VariantInit(&value);
    try {
        HRESULT scripted = S_OK;
        if (ScriptedFailure(progId + L"." + member.name, scripted))
            throw TMemberFailure{scripted, scripted == S_OK ? L"" : L"Сбой по сценарию теста"};
        Call(static_cast<size_t>(id - 1), arguments.data(), value);
    } catch (const TMemberFailure& failure) {
        VariantClear(&value);
        Report(exception, progId, failure);
        return DISP_E_EXCEPTION;
    } catch (...) {
        VariantClear(&value);
        Report(exception, progId, TMemberFailure{E_UNEXPECTED, L"Внутренняя ошибка объекта"});
        return DISP_E_EXCEPTION;
    }
    if (result != nullptr)
        *result = value;
    else
        VariantClear(&value);
    return S_OK;
}

BSTR BytesToBstr(const std::string& bytes) {
    return SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()));
}

std::string BstrBytes(BSTR text) {
    return text ? std::string(reinterpret_cast<const char*>(text), SysStringByteLen(text)) : std::string();
}

void ResultObject(VARIANT& result, TAutomationObject* object) {
    result.vt = VT_DISPATCH;
    result.pdispVal = object;  // the new object's one reference goes to the caller
}

DATE UtcToLocalDate(const SYSTEMTIME& utc) {
    SYSTEMTIME local;
    DATE date = 0;
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) || !SystemTimeToVariantTime(&local, &date))
        throw TMemberFailure{E_FAIL, L"Время не переводится в местное"};
    return date;
}
