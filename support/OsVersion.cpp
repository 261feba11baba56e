#include "OsVersion.h"
#include "Seam.h"
#include "SystemInfoApi.h"

TSystemInfoApi TSystemInfoApi::Real() {
    return {::GetVersionExA, ::GetProcAddress, ::GetSystemInfo};
}

bool GetOSVersionCode(int* code, std::string* servicePack) {
    const TSystemInfoApi& api = Seam<TSystemInfoApi>();
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    bool shortRecord = false;
    if (!api.GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!api.GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
            return false;
        shortRecord = true;
    }
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS) {
        if (code != nullptr)
            *code = 100;
    } else if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        const int value = shortRecord ? 390
                                      : static_cast<int>(info.dwMajorVersion * 100 + info.dwMinorVersion * 10) +
                                            (info.wProductType == VER_NT_SERVER ? 1 : 0);
        if (code != nullptr)
            *code = value;
        if (servicePack != nullptr)
            servicePack->assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
    }
    return true;
}

bool IsOS64Bit() {
    const TSystemInfoApi& api = Seam<TSystemInfoApi>();
    using TGetNativeSystemInfo = void(WINAPI*)(LPSYSTEM_INFO);
    SYSTEM_INFO info = {};
    const auto native = reinterpret_cast<TGetNativeSystemInfo>(
        reinterpret_cast<void*>(api.GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo")));
    if (native != nullptr)
        native(&info);
    else
        api.GetSystemInfo(&info);
    switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_AMD64:
    case PROCESSOR_ARCHITECTURE_IA64:
    case PROCESSOR_ARCHITECTURE_ARM64:
        return true;
    default:
        return false;
    }
}
