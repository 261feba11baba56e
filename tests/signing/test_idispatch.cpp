// The automation helpers on the wire, judged by an object of the test's own that records what
// reaches it: argument order, named arguments, kinds, the texts and codes of every failure.
#include "IDispatchLib.h"
#include <gtest/gtest.h>
#include "AutomationStandin.h"
#include "ErrorText.h"
#include "OleException.h"
#include "RecordingDispatch.h"

namespace {

HRESULT STDAPICALLTYPE FillLater(EXCEPINFO* info) {
    info->bstrDescription = SysAllocString(L"Заполнено позже");
    info->scode = E_ABORT;
    return S_OK;
}

class AutomationHelpers : public ::testing::Test {
protected:
    TRecordingDispatch object{{L"Member", L"Other"}};
    TMyComPtr holder;
    TVAR_ARGS args;
    void SetUp() override { holder.AttachDispatch(&object); }
};

TEST_F(AutomationHelpers, ArgumentsArriveInReverseArrayOrderAndOnlyPutsNameTheirArgument) {
    args.Clear();
    args.Add(Variant(1));
    args.Add(Variant(L"two"));
    holder.CallDispatchMethod(L"Member", &args);
    args.Clear();
    args.Add(Variant(7));
    holder.PutDispatchProperty(L"Other", args);
    holder.PutRefDispatchProperty(L"Member", args);
    holder.GetDispatchProperty(L"Member");

    ASSERT_EQ(object.calls.size(), 4u);
    const TRecordedCall& method = object.calls[0];
    EXPECT_EQ(method.id, 1);
    EXPECT_EQ(method.kind, DISPATCH_METHOD);
    ASSERT_EQ(method.args.size(), 2u);
    EXPECT_EQ(method.args[0].vt, VT_BSTR);  // the last added is the first element
    EXPECT_EQ(std::wstring(method.args[0].bstrVal), L"two");
    EXPECT_EQ(method.args[1].vt, VT_I4);
    EXPECT_TRUE(method.named.empty());

    struct {
        WORD kind;
        DISPID id;
    } puts[] = {{DISPATCH_PROPERTYPUT, 2}, {DISPATCH_PROPERTYPUTREF, 1}};
    for (size_t i = 0; i < 2; ++i) {
        const TRecordedCall& put = object.calls[i + 1];
        EXPECT_EQ(put.kind, puts[i].kind);
        EXPECT_EQ(put.id, puts[i].id);
        ASSERT_EQ(put.args.size(), 1u);
        EXPECT_EQ(put.args[0].lVal, 7);
        EXPECT_EQ(put.named, std::vector<DISPID>{DISPID_PROPERTYPUT});
    }
    EXPECT_EQ(object.calls[3].kind, DISPATCH_PROPERTYGET);
}

TEST_F(AutomationHelpers, AnEmptyListIsNoList) {
    args.Clear();
    holder.CallDispatchMethod(L"Member", &args);
    holder.CallDispatchMethod(L"Member");
    ASSERT_EQ(object.calls.size(), 2u);
    for (const TRecordedCall& call : object.calls) {
        EXPECT_TRUE(call.args.empty());
        EXPECT_TRUE(call.named.empty());
    }
}

TEST_F(AutomationHelpers, BytesTravelAsABstrOfTheirByteLengthOddOnesIncluded) {
    for (unsigned size : {0u, 1u, 3u, 4u}) {
        object.calls.clear();
        const unsigned char bytes[] = {0x30, 0x00, 0xFF, 0x01};
        args.Clear();
        args.Add(BytesToVariant(bytes, size));
        holder.CallDispatchMethod(L"Member", &args);
        ASSERT_EQ(object.calls.size(), 1u);
        const VARIANT& arrived = object.calls[0].args[0];
        ASSERT_EQ(arrived.vt, VT_BSTR);
        EXPECT_EQ(SysStringByteLen(arrived.bstrVal), size);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(arrived.bstrVal), size),
                  std::string(reinterpret_cast<const char*>(bytes), size));
        EXPECT_EQ(VariantBytes(Variant(arrived)), std::string(reinterpret_cast<const char*>(bytes), size));
    }
    EXPECT_THROW(VariantBytes(Variant(5)), EVariantTypeCastError);
}

TEST_F(AutomationHelpers, ResultsComeBackAsCopies) {
    object.result.vt = VT_I4;
    object.result.lVal = 42;
    EXPECT_EQ(holder.CallDispatchFunction(L"Member").AsInteger(), 42);
    EXPECT_EQ(holder.GetDispatchProperty(L"Other").AsInteger(), 42);
}

// What TError says and which code it carries, for the failures of the lookup and of the call.
struct TFailureCase {
    const char* what;
    HRESULT answer;
    std::function<void(EXCEPINFO&)> fill;
    std::string message;
    int code;
};

TEST_F(AutomationHelpers, EveryFailureRaisesTErrorWithItsTextAndCode) {
    const std::string exceptionText = GetSystemErrorMessage(DISP_E_EXCEPTION, false);
    const TFailureCase cases[] = {
        {"a call refused with an HRESULT", DISP_E_TYPEMISMATCH, nullptr,
         "Member. OLE error: " + GetSystemErrorMessage(DISP_E_TYPEMISMATCH, false), DISP_E_TYPEMISMATCH},
        {"source and description, wCode", DISP_E_EXCEPTION,
         [](EXCEPINFO& e) {
             e.wCode = 1001;
             e.scode = E_FAIL;
             e.bstrSource = SysAllocString(L"TSPCOM");
             e.bstrDescription = SysAllocString(L"Нет связи");
         },
         "Member. Ошибка в TSPCOM: Нет связи", 1001},
        {"description only, scode", DISP_E_EXCEPTION,
         [](EXCEPINFO& e) {
             e.scode = E_ACCESSDENIED;
             e.bstrDescription = SysAllocString(L"Отказано");
         },
         "Member. Отказано", E_ACCESSDENIED},
        {"neither source nor description", DISP_E_EXCEPTION, [](EXCEPINFO& e) { e.scode = E_FAIL; },
         "Member. Undefined OLE Exception: " + exceptionText, E_FAIL},
        // An exception that names no code is a failure all the same.
        {"no code at all", DISP_E_EXCEPTION, [](EXCEPINFO&) {}, "Member. Undefined OLE Exception: " + exceptionText,
         DISP_E_EXCEPTION},
        {"deferred fill-in", DISP_E_EXCEPTION,
         [](EXCEPINFO& e) { e.pfnDeferredFillIn = FillLater; },
         "Member. Заполнено позже", E_ABORT},
    };
    for (const TFailureCase& c : cases) {
        SCOPED_TRACE(c.what);
        object.answer = c.answer;
        object.fillException = c.fill;
        try {
            holder.CallDispatchFunction(L"Member");
            ADD_FAILURE() << "no TError";
        } catch (const TError& e) {
            EXPECT_EQ(e.str(), c.message);
            EXPECT_EQ(e.code, c.code);
        }
    }
}

TEST_F(AutomationHelpers, AnUnknownNameFailsBeforeAnyCall) {
    try {
        holder.GetDispatchProperty(L"Missing");
        ADD_FAILURE() << "no TError";
    } catch (const TError& e) {
        EXPECT_EQ(e.str(), "Missing. OLE error: " + GetSystemErrorMessage(DISP_E_UNKNOWNNAME, false));
        EXPECT_EQ(e.code, DISP_E_UNKNOWNNAME);
    }
    EXPECT_TRUE(object.calls.empty());
}

TEST_F(AutomationHelpers, AttachKeepsTheFirstObjectAndTheHolderReleasesIt) {
    TRecordingDispatch second({L"Member"});
    holder.AttachDispatch(&second);
    EXPECT_EQ(holder.Get(), &object);
    EXPECT_EQ(second.References(), 1);
    EXPECT_EQ(object.References(), 2);
    {
        TMyComPtr other;
        other.AttachDispatch(&second);
        EXPECT_EQ(second.References(), 2);
    }
    EXPECT_EQ(second.References(), 1);
}

TEST(AutomationHolder, AnEmptyHolderRaisesEPointerAndCallsNothing) {
    TMyComPtr empty;
    empty.AttachDispatch(nullptr);
    EXPECT_EQ(empty.Get(), nullptr);
    try {
        empty.CallDispatchMethod(L"Export");
        ADD_FAILURE() << "no TError";
    } catch (const TError& e) {
        EXPECT_EQ(e.code, E_POINTER);
        EXPECT_EQ(e.str(), "Export. OLE error: " + GetSystemErrorMessage(E_POINTER, false));
    }
}

TEST(AutomationHolder, AnUnknownProgramIdentifierRaisesEOleException) {
    TComApartment com;
    ASSERT_TRUE(com.Active());
    TMyComPtr holder;
    try {
        holder.CreateDispatchObject(L"Vorsalt.NoSuchObject");
        ADD_FAILURE() << "no EOleException";
    } catch (const EOleException& e) {
        EXPECT_EQ(e.ErrorCode, CO_E_CLASSSTRING);
        EXPECT_EQ(e.Message, GetSystemErrorMessage(static_cast<unsigned>(CO_E_CLASSSTRING), false));
    }
    EXPECT_EQ(holder.Get(), nullptr);
}

}  // namespace
