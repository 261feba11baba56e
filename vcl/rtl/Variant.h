// The class library's tagged value over an automation VARIANT. Conversions between kinds are
// oleaut32's (VariantChangeTypeEx) in the invariant locale, so a number reads and writes with
// "." on every workstation, and booleans convert to and from "True" and "False". A conversion
// that cannot be made raises EVariantTypeCastError, one that does not fit EVariantOverflowError.
#pragma once
#include "AnsiString.h"
#include "Exception.h"
#include "WideString.h"
#include <windows.h>
#include <oleauto.h>
#include <string>

class EVariantError : public Exception {
public:
    using Exception::Exception;
};
class EVariantTypeCastError : public EVariantError {
public:
    using EVariantError::EVariantError;
};
class EVariantOverflowError : public EVariantError {
public:
    using EVariantError::EVariantError;
};

class Variant {
public:
    Variant() { VariantInit(&value); }  // Empty
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant other) noexcept;
    ~Variant() { VariantClear(&value); }

    Variant(int number);
    Variant(bool flag);
    Variant(double number);
    Variant(long double number);  // kept as a double: automation has no extended type
    Variant(const char* ansi);    // ANSI (cp1251) texts are held as automation strings
    Variant(const AnsiString& ansi);
    Variant(const wchar_t* wide);
    Variant(const std::wstring& wide);
    Variant(const WideString& wide);
    Variant(IDispatch* object);              // adds a reference
    explicit Variant(const VARIANT& other);  // a copy (VariantCopy)

    static Variant Null();
    // Takes over a BSTR that the caller allocated: the Variant frees it, no copy is made.
    static Variant FromBstr(BSTR owned);
    // An automation date (days since 30 December 1899).
    static Variant FromDate(DATE date);

    VARTYPE Type() const { return value.vt; }
    bool IsEmpty() const { return value.vt == VT_EMPTY; }
    bool IsNull() const { return value.vt == VT_NULL; }
    bool IsString() const { return value.vt == VT_BSTR; }
    bool IsNumeric() const;  // an integer or floating kind (not a boolean, date or text)
    // The name of a kind as the conversion errors give it ("Integer", "OleStr", "Null"...).
    static std::string TypeName(VARTYPE type);

    int AsInteger() const;
    double AsDouble() const;
    bool AsBoolean() const;
    DATE AsDate() const;
    std::wstring AsString() const;
    WideString AsWideString() const;
    AnsiString AsAnsiString() const;
    IDispatch* AsDispatch() const;  // no reference added: the Variant keeps its own

    const VARIANT& Data() const { return value; }
    // For out-parameters of the platform: clears what is held and exposes the slot.
    VARIANT* Receive();
    void Clear() { VariantClear(&value); }

private:
    // value converted to kind type, in a VARIANT the caller clears.
    VARIANT Converted(VARTYPE type) const;

    VARIANT value;
};
