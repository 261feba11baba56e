#include "Ocsptsp.h"
#include <cmath>
#include "ErrorText.h"
#include "Seam.h"
#include "TimeHelpers.h"
#include "TimeZoneApi.h"
#include "Ocspcomlib.h"
#include "OldLibraries.h"
#include "Tspcomlib.h"
#include "VyrnLog.h"

namespace {
// The paths wanted by the flags: neither bit means both.
void WantedPaths(int flags, bool& com, bool& api) {
    com = (flags & PathFlagCom) != 0;
    api = (flags & PathFlagApi) != 0;
    if (!com && !api)
        com = api = true;
}

// The failure text of the paths: the API text, a line break when it is not empty, the COM text.
std::string PathsText(const std::string& apiText, const std::string& comText) {
    return apiText + (apiText.empty() ? "" : "\r\n") + comText;
}
}  // namespace

int Create_TimeStamp(BSTR address, CRYPT_DATA_BLOB& token, const CRYPT_DATA_BLOB& hash, SYSTEMTIME* stampTime,
                     PCCERT_CONTEXT* tsaCert, std::string* errorText, int flags) {
    token.cbData = 0;
    token.pbData = nullptr;
    bool com, api;
    WantedPaths(flags, com, api);
    const bool manual = (flags & PathFlagManual) != 0, verify = (flags & PathFlagVerify) != 0;
    std::string apiText, comText, ownText;
    std::string* text = errorText ? errorText : &ownText;
    int versionCode = 0;
    HMODULE library = nullptr;
    int result = 0;
    if (api)
        api = (library = MyLoadLibraryTSP(&versionCode, &apiText)) != nullptr;
    if (com)
        com = IsTSPCOM(&comText) != 1000;
    if (versionCode != 0 && versionCode < 500) {
        com = false;
        comText = " COM Disabled on OS 2000 and below";
    }
    if (!com && !api) {
        *text = "Create_TSP. TSP access failed: " + apiText + "\r\n" + comText;
        result = 2;
    } else {
        apiText.clear();
        comText.clear();
        bool succeeded = false;
        if (com) {
            VYRNLog("Create_TimeStamp. Try COM");
            result = COM_TimeStamp(address, token, hash, stampTime, tsaCert, verify, manual, &comText);
            succeeded = result == 0;
            if (!succeeded)
                VYRNLog("Create_TimeStamp. COM error:" + comText);
        }
        if (!succeeded && api) {
            VYRNLog("Create_TimeStamp. Try API");
            result = API_TimeStamp(library, address, token, hash, stampTime, tsaCert, verify, &apiText);
            succeeded = result == 0;
        }
        if (!succeeded) {
            *text = PathsText(apiText, comText);
            if (text->empty())
                *text = "Create_TimeStamp. Неизвестная ошибка.";
        } else if (token.cbData == 0) {
            *text = "Create_TimeStamp. Штамп времени не получен. Возвращен пустой блок.";
            result = 3;
        }
    }
    if (versionCode < 510)
        MyFreeLibraryTSP();
    return result;
}

int Create_OCSP(BSTR address, CRYPT_DATA_BLOB& response, PCCERT_CONTEXT cert, SYSTEMTIME* producedAt,
                std::string* errorText, int flags) {
    bool com, api;
    WantedPaths(flags, com, api);
    const int send = (flags & PathFlagVerify) != 0 ? 1 : 0;
    const bool manual = (flags & (PathFlagVerify | PathFlagCom | PathFlagApi | PathFlagManual)) != 0;
    std::string ownText;
    std::string* text = errorText ? errorText : &ownText;
    if (cert == nullptr) {
        *text = "Create_OCSP. Сертификат для получения статуса не задан.";
        return 1;
    }
    const std::string given = *text;
    std::string apiText, comText;
    int versionCode = 0;
    HMODULE library = nullptr;
    int result = 0;
    if (api)
        api = (library = MyLoadLibraryOCSP(&versionCode, &apiText)) != nullptr;
    if (com)
        com = IsOCSPCOM(&comText) != 1000;
    if (versionCode != 0 && versionCode < 500) {
        com = false;
        comText = "COM Disabled on OS 2000 and below";
    }
    if (!com && !api) {
        *text = "OCSP access failed: " + apiText + "\r\n" + comText;
        result = 2;
    } else {
        apiText.clear();
        comText.clear();
        const std::string paths = std::string(com ? "COM" : "NOCOM") + ", " + (api ? "API" : "NOAPI");
        VYRNLog("Create_OCSP " + paths);
        bool succeeded = false;
        if (com) {
            result = COM_OCSP(address, response, cert, producedAt, send, manual, &comText);
            succeeded = result == 0;
        }
        if (!succeeded && api) {
            result = API_OCSP(library, address, response, cert, producedAt, send != 0, &apiText);
            succeeded = result == 0;
        }
        if (!succeeded) {
            *text = PathsText(apiText, comText);
            if (text->empty())
                *text = "Create_OCSP. Неизвестная ошибка. " + paths + " " + given;
        } else if (response.cbData == 0) {
            *text = "Create_OCSP. Возвращен пустой блок.";
            result = 3;
        }
    }
    if (versionCode < 510)
        MyFreeLibraryOCSP();
    VYRNLog("Create_OCSP finished");
    return result;
}

int CompareTimes(const SYSTEMTIME* stampTime, const SYSTEMTIME* ocspTime, std::string* errorText) {
    if (ocspTime == nullptr) {
        LogOrStoreError(errorText, "CompareTimes. Временя OCSP ответа NULL.");
        return 1;
    }
    if (stampTime == nullptr) {
        LogOrStoreError(errorText, "CompareTimes. Временя TSP ответа NULL.");
        return 2;
    }
    FILETIME ocsp, stamp;
    if (!SystemTimeToFileTime(ocspTime, &ocsp)) {
        LogOrStoreError(errorText, "CompareTimes. Ошибка работы со временем OCSP ответа: ");
        return 3;
    }
    if (!SystemTimeToFileTime(stampTime, &stamp)) {
        LogOrStoreError(errorText, "CompareTimes. Ошибка работы со временем штампа времени.");
        return 4;
    }
    const long long d = FileTimeDiffTenths(ocsp, stamp) / 10;  // whole seconds, toward zero
    TIME_ZONE_INFORMATION zone{};
    Seam<TTimeZoneApi>().GetTimeZoneInformation(&zone);
    const int b = static_cast<int>((zone.Bias + zone.DaylightBias) * 60);
    if (std::fabs(static_cast<double>(d)) <= 300.0)
        return 0;
    if (std::fabs(static_cast<double>(d)) - std::fabs(static_cast<double>(b)) <= 300.0)
        return 0;
    const auto clock = [](const SYSTEMTIME& t) {
        return std::to_string(t.wHour) + ":" + std::to_string(t.wMinute) + ":" + std::to_string(t.wSecond);
    };
    StoreErrorText(errorText, "-Разница между временем TSP и OCSP: " + std::to_string(d) + " сек \r\n(TSP: " +
                                  clock(*stampTime) + ", OCSP: " + clock(*ocspTime) +
                                  ", Bias: " + std::to_string(zone.Bias) +
                                  ", DaylightBias: " + std::to_string(zone.DaylightBias) + ")");
    return 3;
}
