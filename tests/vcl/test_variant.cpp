// Variant: each conversion against oleaut32's own VariantChangeTypeEx (the invariant locale,
// booleans as words), ownership of strings and objects, the kinds it reports.
#include "Variant.h"
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <vector>

namespace {

struct Source {
    const char* name;
    std::function<Variant()> make;
};

const std::vector<Source>& Sources() {
    static const std::vector<Source> sources = {
        {"Empty", [] { return Variant(); }},
        {"Null", [] { return Variant::Null(); }},
        {"int 0", [] { return Variant(0); }},
        {"int 42", [] { return Variant(42); }},
        {"int -7", [] { return Variant(-7); }},
        {"true", [] { return Variant(true); }},
        {"false", [] { return Variant(false); }},
        {"double 1.5", [] { return Variant(1.5); }},
        {"double 2.5", [] { return Variant(2.5); }},
        {"double -0.25", [] { return Variant(-0.25); }},
        {"double 1e300", [] { return Variant(1e300); }},
        {"double 3e9", [] { return Variant(3e9); }},
        {"extended 0.1", [] { return Variant(0.1L); }},
        {"text 12", [] { return Variant(L"12"); }},
        {"text 1.5", [] { return Variant(L"1.5"); }},
        {"text 1,5", [] { return Variant(L"1,5"); }},
        {"text -3e2", [] { return Variant(L"-3e2"); }},
        {"text abc", [] { return Variant(L"abc"); }},
        {"text True", [] { return Variant(L"True"); }},
        {"text empty", [] { return Variant(L""); }},
        {"text 99999999999", [] { return Variant(L"99999999999"); }},
        {"ansi Cyrillic", [] { return Variant("\xCE\xF8"); }},
        {"date", [] { return Variant::FromDate(45000.5); }},
    };
    return sources;
}

// What oleaut32 makes of the source in the kind type, or the failure code.
HRESULT Judge(const Variant& source, VARTYPE type, VARIANT& result) {
    VariantInit(&result);
    return VariantChangeTypeEx(&result, const_cast<VARIANT*>(&source.Data()), LOCALE_INVARIANT, VARIANT_ALPHABOOL,
                               type);
}

template <typename Read, typename Compare>
void CheckConversion(VARTYPE type, Read read, Compare compare) {
    for (const Source& s : Sources()) {
        const Variant v = s.make();
        VARIANT expected;
        const HRESULT hr = Judge(v, type, expected);
        if (SUCCEEDED(hr)) {
            EXPECT_NO_THROW(compare(read(v), expected)) << s.name;
        } else if (hr == DISP_E_OVERFLOW) {
            EXPECT_THROW(read(v), EVariantOverflowError) << s.name;
        } else {
            EXPECT_THROW(read(v), EVariantTypeCastError) << s.name;
        }
        VariantClear(&expected);
    }
}

TEST(Variant, ToIntegerAsOleautConverts) {
    CheckConversion(
        VT_I4, [](const Variant& v) { return v.AsInteger(); },
        [](int got, const VARIANT& want) { EXPECT_EQ(got, want.lVal); });
}

TEST(Variant, ToDoubleAsOleautConverts) {
    CheckConversion(
        VT_R8, [](const Variant& v) { return v.AsDouble(); },
        [](double got, const VARIANT& want) { EXPECT_EQ(got, want.dblVal); });
}

TEST(Variant, ToBooleanAsOleautConverts) {
    CheckConversion(
        VT_BOOL, [](const Variant& v) { return v.AsBoolean(); },
        [](bool got, const VARIANT& want) { EXPECT_EQ(got, want.boolVal != VARIANT_FALSE); });
}

TEST(Variant, ToTextAsOleautConverts) {
    CheckConversion(
        VT_BSTR, [](const Variant& v) { return v.AsString(); },
        [](const std::wstring& got, const VARIANT& want) {
            EXPECT_EQ(got, std::wstring(want.bstrVal, SysStringLen(want.bstrVal)));
        });
}

TEST(Variant, ToDateAsOleautConverts) {
    CheckConversion(
        VT_DATE, [](const Variant& v) { return v.AsDate(); },
        [](DATE got, const VARIANT& want) { EXPECT_EQ(got, want.date); });
}

TEST(Variant, NumbersAndTextIgnoreTheThreadLocale) {
    // The test process runs with the Russian locale, whose decimal separator is ",".
    ASSERT_EQ(PRIMARYLANGID(LANGIDFROMLCID(GetThreadLocale())), LANG_RUSSIAN);
    EXPECT_EQ(Variant(L"1.5").AsDouble(), 1.5);
    EXPECT_EQ(Variant(0.25).AsString(), L"0.25");
    EXPECT_EQ(Variant(true).AsString(), L"True");
    EXPECT_EQ(Variant(L"False").AsBoolean(), false);
}

TEST(Variant, ErrorTextsNameBothKinds) {
    try {
        Variant::Null().AsInteger();
        FAIL();
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message, "Could not convert variant of type (Null) into type (Integer)");
    }
    try {
        Variant(L"abc").AsDouble();
        FAIL();
    } catch (const EVariantError& e) {
        EXPECT_EQ(e.Message, "Could not convert variant of type (OleStr) into type (Double)");
    }
    EXPECT_THROW(Variant(1e300).AsInteger(), EVariantOverflowError);
}

TEST(Variant, ReportsItsKind) {
    struct Case {
        Variant value;
        VARTYPE type;
        bool empty, null, string, numeric;
    };
    const Case cases[] = {
        {Variant(), VT_EMPTY, true, false, false, false},
        {Variant::Null(), VT_NULL, false, true, false, false},
        {Variant(5), VT_I4, false, false, false, true},
        {Variant(5.5), VT_R8, false, false, false, true},
        {Variant(5.5L), VT_R8, false, false, false, true},
        {Variant(true), VT_BOOL, false, false, false, false},
        {Variant("a"), VT_BSTR, false, false, true, false},
        {Variant(AnsiString("a")), VT_BSTR, false, false, true, false},
        {Variant(L"a"), VT_BSTR, false, false, true, false},
        {Variant(std::wstring(L"a")), VT_BSTR, false, false, true, false},
        {Variant(WideString()), VT_BSTR, false, false, true, false},
        {Variant::FromDate(1.0), VT_DATE, false, false, false, false},
        {Variant(static_cast<IDispatch*>(nullptr)), VT_DISPATCH, false, false, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value.Type(), c.type);
        EXPECT_EQ(c.value.IsEmpty(), c.empty) << c.type;
        EXPECT_EQ(c.value.IsNull(), c.null) << c.type;
        EXPECT_EQ(c.value.IsString(), c.string) << c.type;
        EXPECT_EQ(c.value.IsNumeric(), c.numeric) << c.type;
    }
    EXPECT_NE(Variant(WideString()).Data().bstrVal, nullptr);  // an empty text, not a null string
}

TEST(Variant, AnsiTextIsCp1251) {
    EXPECT_EQ(Variant("\xCE\xF8\xE8\xE1\xEA\xE0").AsString(), L"\x041E\x0448\x0438\x0431\x043A\x0430");
    EXPECT_EQ(Variant(L"\x041E\x0448").AsAnsiString(), AnsiString("\xCE\xF8"));
}

TEST(Variant, TakesOverABstrWithoutACopy) {
    BSTR text = SysAllocString(L"owned");
    {
        Variant v = Variant::FromBstr(text);
        EXPECT_EQ(v.Data().bstrVal, text);
        Variant copy(v);
        EXPECT_NE(copy.Data().bstrVal, text);
        EXPECT_EQ(copy.AsString(), L"owned");
        Variant moved(std::move(v));
        EXPECT_EQ(moved.Data().bstrVal, text);
        EXPECT_TRUE(v.IsEmpty());
    }
}

// An object that counts its references.
class Counted : public IDispatch {
public:
    ULONG refs = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
};

TEST(Variant, HoldsAReferenceToAnObject) {
    Counted object;
    {
        Variant v(static_cast<IDispatch*>(&object));
        EXPECT_EQ(object.refs, 2u);
        EXPECT_EQ(v.AsDispatch(), &object);
        EXPECT_EQ(object.refs, 2u);  // borrowed, not added
        Variant copy = v;
        EXPECT_EQ(object.refs, 3u);
        copy.Receive();  // cleared for an out-parameter
        EXPECT_EQ(object.refs, 2u);
        EXPECT_TRUE(copy.IsEmpty());
    }
    EXPECT_EQ(object.refs, 1u);
    EXPECT_EQ(Variant().AsDispatch(), nullptr);
    EXPECT_THROW(Variant(3).AsDispatch(), EVariantTypeCastError);
}

TEST(Variant, AssignmentReplacesTheValue) {
    Variant v(L"text");
    v = Variant(7);
    EXPECT_EQ(v.Type(), VT_I4);
    v = v;
    EXPECT_EQ(v.AsInteger(), 7);
    v.Clear();
    EXPECT_TRUE(v.IsEmpty());
}

}  // namespace
