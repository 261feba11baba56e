#include "RecordingDispatch.h"

TRecordingDispatch::~TRecordingDispatch() {
    for (TRecordedCall& call : calls)
        for (VARIANT& arg : call.args)
            VariantClear(&arg);
    VariantClear(&result);
}

HRESULT TRecordingDispatch::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT TRecordingDispatch::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT TRecordingDispatch::GetIDsOfNames(REFIID, LPOLESTR* asked, UINT count, LCID, DISPID* ids) {
    ++lookups;
    for (size_t i = 0; count == 1 && i < names.size(); ++i)
        if (names[i] == asked[0]) {
            ids[0] = static_cast<DISPID>(i + 1);
            return S_OK;
        }
    return DISP_E_UNKNOWNNAME;
}

HRESULT TRecordingDispatch::Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* params, VARIANT* out,
                                   EXCEPINFO* exception, UINT*) {
    TRecordedCall call;
    call.id = id;
    call.kind = kind;
    for (UINT i = 0; i < params->cArgs; ++i) {
        VARIANT copy;
        VariantInit(&copy);
        VariantCopy(&copy, &params->rgvarg[i]);
        call.args.push_back(copy);
    }
    for (UINT i = 0; i < params->cNamedArgs; ++i)
        call.named.push_back(params->rgdispidNamedArgs[i]);
    calls.push_back(call);
    if (answer == DISP_E_EXCEPTION && exception != nullptr && fillException)
        fillException(*exception);
    if (out != nullptr)
        VariantCopy(out, &result);
    return answer;
}
