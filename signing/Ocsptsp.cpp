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

int Create_TimeStamp(BSTR address, CRYPT_DATA_BLOB& token, const CRYPT_DATA_BLOB& hash, SYSTEMTIME* stampTime,
                     PCCERT_CONTEXT* tsaCert, std::string* errorText, int flags) {
    token.cbData = 0;
    token.pbData = nullptr;
    const bool manual = (flags & PathFlagManual) != 0, verify = (flags & PathFlagVerify) != 0;
    TTspLibrary library;
    const TServicePaths service = {
        "Create_TSP. TSP access failed: ",
        " COM Disabled on OS 2000 and below",
        nullptr,
        "Create_TimeStamp. Try COM",
        "Create_TimeStamp. COM error:",
        "Create_TimeStamp. Try API",
        [&](int& versionCode, std::string* text) { return library.Load(&versionCode, text); },
        IsTSPCOM,
        [&](std::string* text) {
            return COM_TimeStamp(address, token, hash, stampTime, tsaCert, verify, manual, text);
        },
        [&](std::string* text) {
            return API_TimeStamp(library, address, token, hash, stampTime, tsaCert, verify, text);
        },
    };
    const TPathsRun run = RunServicePaths(service, flags);
    if (run.failed) {
        StoreErrorText(errorText, run.text.empty() ? "Create_TimeStamp. Неизвестная ошибка." : run.text);
        return run.result;
    }
    if (token.cbData == 0) {
        StoreErrorText(errorText, "Create_TimeStamp. Штамп времени не получен. Возвращен пустой блок.");
        return 3;
    }
    return 0;
}

int Create_OCSP(BSTR address, CRYPT_DATA_BLOB& response, PCCERT_CONTEXT cert, SYSTEMTIME* producedAt,
                std::string* errorText, int flags) {
    if (cert == nullptr) {
        StoreErrorText(errorText, "Create_OCSP. Сертификат для получения статуса не задан.");
        return 1;
    }
    const std::string given = errorText != nullptr ? *errorText : std::string();
    const int send = (flags & PathFlagVerify) != 0 ? 1 : 0;
    const bool manual = (flags & (PathFlagVerify | PathFlagCom | PathFlagApi | PathFlagManual)) != 0;
    TOcspLibrary library;
    const TServicePaths service = {
        "OCSP access failed: ",
        "COM Disabled on OS 2000 and below",
        "Create_OCSP ",
        nullptr,
        nullptr,
        nullptr,
        [&](int& versionCode, std::string* text) { return library.Load(&versionCode, text); },
        IsOCSPCOM,
        [&](std::string* text) { return COM_OCSP(address, response, cert, producedAt, send, manual, text); },
        [&](std::string* text) { return API_OCSP(library, address, response, cert, producedAt, send != 0, text); },
    };
    const TPathsRun run = RunServicePaths(service, flags);
    int result = run.result;
    if (run.failed) {
        StoreErrorText(errorText,
                       !run.text.empty() ? run.text : "Create_OCSP. Неизвестная ошибка. " + run.paths + " " + given);
    } else if (response.cbData == 0) {
        StoreErrorText(errorText, "Create_OCSP. Возвращен пустой блок.");
        result = 3;
    }
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
    StoreErrorText(errorText, "-Разница между временем TSP и OCSP: " + std::to_string(d) +
                                  " сек \r\n(TSP: " + clock(*stampTime) + ", OCSP: " + clock(*ocspTime) +
                                  ", Bias: " + std::to_string(zone.Bias) +
                                  ", DaylightBias: " + std::to_string(zone.DaylightBias) + ")");
    return 3;
}
