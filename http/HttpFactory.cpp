#include "HttpFactory.h"
#include "HttpTypeApi.h"
#include "Owned.h"
#include "Seam.h"
#include "OsVersion.h"
#include "class_http_wininet.h"
#include "class_http_winhttp.h"

THttpTypeApi THttpTypeApi::Real() {
    return {::GetOSVersionCode};
}

namespace {

THttpType TypeForVersion(int code, const std::string& servicePack) {
    if (code >= 600)
        return HttpTypeWinHttp;
    if (code == 510 && servicePack == "Service Pack 3")
        return HttpTypeWinHttp;
    if (code == 521 && servicePack == "Service Pack 2")
        return HttpTypeWinHttp;
    return HttpTypeWinInet;
}

}  // namespace

THttpType GetHttpType() {
    int code = 0;
    std::string servicePack;
    if (!Seam<THttpTypeApi>().GetOSVersionCode(&code, &servicePack))
        return HttpTypeWinInet;
    THttpType type = TypeForVersion(code, servicePack);

    TRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\QMR\\Config", 0, KEY_READ, key.Receive()) == ERROR_SUCCESS) {
        // Whatever the value's type, its first four bytes make the number.
        DWORD value = 0, size = sizeof value;
        if (RegQueryValueExA(key.Get(), "http_type", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
            ERROR_SUCCESS)
            type = static_cast<THttpType>(value);
    }
    return type;
}

std::unique_ptr<TAllHTTP> CreateHttpClient(bool secure, int resumeOffset) {
    if (GetHttpType() == HttpTypeWinHttp)
        return std::make_unique<TWinHTTP>(secure, resumeOffset);
    return std::make_unique<THTTP>(secure, resumeOffset);
}

const char* HttpTypeName(unsigned int type) {
    static const char* const names[] = {"undef", "WinInet", "WinHTTP"};
    return type < 3 ? names[type] : names[0];
}
