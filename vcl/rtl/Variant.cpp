#include "Variant.h"
#include <new>

namespace {

constexpr USHORT ConversionFlags = VARIANT_ALPHABOOL;

void CheckAllocation(HRESULT hr) {
    if (hr == E_OUTOFMEMORY)
        throw std::bad_alloc();
}

}  // namespace

Variant::Variant(const Variant& other) {
    VariantInit(&value);
    CheckAllocation(VariantCopy(&value, const_cast<VARIANT*>(&other.value)));
}

Variant::Variant(Variant&& other) noexcept : value(other.value) {
    VariantInit(&other.value);
}

Variant& Variant::operator=(Variant other) noexcept {
    std::swap(value, other.value);
    return *this;
}

Variant::Variant(int number) : Variant() {
    value.vt = VT_I4;
    value.lVal = number;
}

Variant::Variant(bool flag) : Variant() {
    value.vt = VT_BOOL;
    value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(double number) : Variant() {
    value.vt = VT_R8;
    value.dblVal = number;
}

Variant::Variant(long double number) : Variant(static_cast<double>(number)) {}

Variant::Variant(const char* ansi) : Variant(AnsiString(ansi)) {}

Variant::Variant(const AnsiString& ansi) : Variant(ansi.ToWide()) {}

Variant::Variant(const wchar_t* wide) : Variant(WideString(wide)) {}

Variant::Variant(const std::wstring& wide) : Variant(WideString(wide)) {}

Variant::Variant(const WideString& wide) : Variant() {
    value.vt = VT_BSTR;
    value.bstrVal = WideString(wide).Detach();
    if (value.bstrVal == nullptr) {  // an empty text is still a string, not a null pointer
        value.bstrVal = SysAllocStringLen(L"", 0);
        if (value.bstrVal == nullptr)
            throw std::bad_alloc();
    }
}

Variant::Variant(IDispatch* object) : Variant() {
    value.vt = VT_DISPATCH;
    value.pdispVal = object;
    if (object)
        object->AddRef();
}

Variant::Variant(const VARIANT& other) : Variant() {
    CheckAllocation(VariantCopy(&value, const_cast<VARIANT*>(&other)));
}

Variant Variant::Null() {
    Variant result;
    result.value.vt = VT_NULL;
    return result;
}

Variant Variant::FromBstr(BSTR owned) {
    Variant result;
    result.value.vt = VT_BSTR;
    result.value.bstrVal = owned;
    return result;
}

Variant Variant::FromDate(DATE date) {
    Variant result;
    result.value.vt = VT_DATE;
    result.value.date = date;
    return result;
}

bool Variant::IsNumeric() const {
    switch (value.vt) {
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_INT:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_UINT:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL:
        return true;
    default:
        return false;
    }
}

std::string Variant::TypeName(VARTYPE type) {
    switch (type & VT_TYPEMASK) {
    case VT_EMPTY:
        return "Empty";
    case VT_NULL:
        return "Null";
    case VT_I2:
        return "Smallint";
    case VT_I4:
        return "Integer";
    case VT_R4:
        return "Single";
    case VT_R8:
        return "Double";
    case VT_CY:
        return "Currency";
    case VT_DATE:
        return "Date";
    case VT_BSTR:
        return "OleStr";
    case VT_DISPATCH:
        return "Dispatch";
    case VT_ERROR:
        return "Error";
    case VT_BOOL:
        return "Boolean";
    case VT_VARIANT:
        return "Variant";
    case VT_UNKNOWN:
        return "Unknown";
    case VT_DECIMAL:
        return "Decimal";
    case VT_I1:
        return "ShortInt";
    case VT_UI1:
        return "Byte";
    case VT_UI2:
        return "Word";
    case VT_UI4:
        return "LongWord";
    case VT_I8:
        return "Int64";
    case VT_UI8:
        return "UInt64";
    default:
        return "Unknown";
    }
}

VARIANT Variant::Converted(VARTYPE type) const {
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = VariantChangeTypeEx(&result, const_cast<VARIANT*>(&value), LOCALE_INVARIANT, ConversionFlags,
                                           type);
    if (SUCCEEDED(hr))
        return result;
    CheckAllocation(hr);
    const std::string text = "Could not convert variant of type (" + TypeName(value.vt) + ") into type (" +
                             TypeName(type) + ")";
    if (hr == DISP_E_OVERFLOW)
        throw EVariantOverflowError(text);
    throw EVariantTypeCastError(text);
}

int Variant::AsInteger() const {
    if (value.vt == VT_I4)
        return value.lVal;
    return Converted(VT_I4).lVal;
}

double Variant::AsDouble() const {
    if (value.vt == VT_R8)
        return value.dblVal;
    return Converted(VT_R8).dblVal;
}

bool Variant::AsBoolean() const {
    if (value.vt == VT_BOOL)
        return value.boolVal != VARIANT_FALSE;
    return Converted(VT_BOOL).boolVal != VARIANT_FALSE;
}

DATE Variant::AsDate() const {
    if (value.vt == VT_DATE)
        return value.date;
    return Converted(VT_DATE).date;
}

WideString Variant::AsWideString() const {
    if (value.vt == VT_BSTR)
        return WideString(value.bstrVal, static_cast<int>(SysStringLen(value.bstrVal)));
    return WideString::Attach(Converted(VT_BSTR).bstrVal);
}

std::wstring Variant::AsString() const {
    return AsWideString().str();
}

AnsiString Variant::AsAnsiString() const {
    return AnsiString(AsString());
}

IDispatch* Variant::AsDispatch() const {
    if (value.vt == VT_DISPATCH)
        return value.pdispVal;
    if (value.vt == VT_EMPTY)
        return nullptr;
    throw EVariantTypeCastError("Could not convert variant of type (" + TypeName(value.vt) + ") into type (Dispatch)");
}

VARIANT* Variant::Receive() {
    VariantClear(&value);
    return &value;
}
