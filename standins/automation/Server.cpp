// The in-process server of the stand-in objects: their class factory, and their registration by
// program identifier under HKEY_LOCAL_MACHINE\Software\Classes at this DLL's own path.
#include "Objects.h"
#include <objbase.h>
#include <string>

namespace {

HMODULE ThisModule = nullptr;

template <typename T>
TAutomationObject* Make() {
    return new T();
}

template <const TServiceRequestKind& Kind>
TAutomationObject* MakeRequest() {
    return new TServiceRequestObject(Kind);
}

template <const TServiceAnswerKind& Kind>
TAutomationObject* MakeAnswer() {
    return new TServiceAnswerObject(Kind);
}

struct TClass {
    const wchar_t* progId;
    CLSID clsid;
    TAutomationObject* (*make)();
};

const TClass Classes[] = {
    {L"CAPICOM.Certificate", {0x3c1b6f10, 0x5a2e, 0x4d21, {0x9f, 0x10, 0x6a, 0x52, 0x0b, 0x7e, 0x11, 0x01}}, Make<TCertificateObject>},
    {L"CAPICOM.HashedData", {0x3c1b6f10, 0x5a2e, 0x4d21, {0x9f, 0x10, 0x6a, 0x52, 0x0b, 0x7e, 0x11, 0x02}}, Make<THashedDataObject>},
    {L"TSPCOM.TSPRequest", {0x3c1b6f10, 0x5a2e, 0x4d21, {0x9f, 0x10, 0x6a, 0x52, 0x0b, 0x7e, 0x11, 0x03}}, MakeRequest<TspRequest>},
    {L"TSPCOM.TSPStamp", {0x3c1b6f10, 0x5a2e, 0x4d21, {0x9f, 0x10, 0x6a, 0x52, 0x0b, 0x7e, 0x11, 0x04}}, MakeAnswer<TspStamp>},
    {L"OCSPCOM.OCSPRequest", {0x3c1b6f10, 0x5a2e, 0x4d21, {0x9f, 0x10, 0x6a, 0x52, 0x0b, 0x7e, 0x11, 0x05}}, MakeRequest<OcspRequest>},
    {L"OCSPCOM.OCSPResponse", {0x3c1b6f10, 0x5a2e, 0x4d21, {0x9f, 0x10, 0x6a, 0x52, 0x0b, 0x7e, 0x11, 0x06}}, MakeAnswer<OcspResponse>},
};

class TClassFactory : public IClassFactory {
public:
    explicit TClassFactory(const TClass& type) : type(type) {}
    virtual ~TClassFactory() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --references;
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        TAutomationObject* made = nullptr;
        try {
            made = type.make();
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        const HRESULT result = made->QueryInterface(iid, object);
        made->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }  // the server never unloads

private:
    const TClass& type;
    std::atomic<long> references{1};
};

std::wstring ClsidText(const CLSID& clsid) {
    wchar_t text[64] = {};
    StringFromGUID2(clsid, text, 64);
    return text;
}

bool SetDefault(const std::wstring& path, const std::wstring& value, const wchar_t* name = nullptr) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG set = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        ThisModule = instance;
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    for (const TClass& type : Classes)
        if (IsEqualCLSID(clsid, type.clsid)) {
            auto* factory = new TClassFactory(type);
            const HRESULT result = factory->QueryInterface(iid, object);
            factory->Release();
            return result;
        }
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return S_FALSE;  // objects of one another hold no count of their own here: stay loaded
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(ThisModule, path, MAX_PATH);
    for (const TClass& type : Classes) {
        const std::wstring clsid = ClsidText(type.clsid), classKey = L"Software\\Classes\\CLSID\\" + clsid;
        if (!SetDefault(L"Software\\Classes\\" + std::wstring(type.progId) + L"\\CLSID", clsid) ||
            !SetDefault(classKey, type.progId) || !SetDefault(classKey + L"\\ProgID", type.progId) ||
            !SetDefault(classKey + L"\\InprocServer32", path) ||
            !SetDefault(classKey + L"\\InprocServer32", L"Both", L"ThreadingModel"))
            return E_FAIL;
    }
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    for (const TClass& type : Classes) {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\" + std::wstring(type.progId)).c_str());
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, (L"Software\\Classes\\CLSID\\" + ClsidText(type.clsid)).c_str());
    }
    return S_OK;
}
