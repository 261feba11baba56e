#include "ErrorText.h"
#include "ComOwned.h"
#include "Conversions.h"
#include "LastErrorKept.h"
#include "LocalFree.h"
#include "Owned.h"
#include "StringHelpers.h"
#include "SysString.h"
#include "VyrnLog.h"
#include <windows.h>
#include <oleauto.h>
#include <initializer_list>
#include <utility>

namespace {
constexpr DWORD FromModuleFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                  FORMAT_MESSAGE_FROM_HMODULE;
constexpr DWORD FromSystemFlags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                  FORMAT_MESSAGE_FROM_SYSTEM;
constexpr unsigned int InterfaceFacility = 4;
constexpr unsigned int TspClientFacility = 0x210;
constexpr unsigned int OcspClientFacility = 0x211;
constexpr unsigned int FirstInternetCode = 12000;
constexpr unsigned int LastInternetCode = 12175;
const char* const NotFoundText = "...Не определено...";

// A library loaded only for its resources, for one lookup.
TModule DataFileModule(const char* name) {
    return TModule(LoadLibraryExA(name, nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

unsigned int FacilityOf(unsigned int code) {
    return (code >> 16) & 0x1FFF;
}

// The user's default language first, then the neutral one.
std::string FormatFromTable(DWORD flags, HMODULE module, unsigned int code) {
    for (DWORD language : {DWORD(MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)), DWORD(0)}) {
        char* buffer = nullptr;
        const DWORD length = FormatMessageA(flags, module, code, language, reinterpret_cast<char*>(&buffer), 0,
                                            nullptr);
        TLocalFree<char> text(buffer);
        if (length > 0 && text.Get() != nullptr)
            return std::string(text.Get(), length);
    }
    return std::string();
}

std::string FormatFromLibrary(const char* name, unsigned int code) {
    const TModule library = DataFileModule(name);
    return library ? FormatFromTable(FromModuleFlags, library.Get(), code) : std::string();
}

std::string LookUpSystemErrorMessage(unsigned int code, bool winHttpOwnsInternetCodes) {
    const unsigned int facility = FacilityOf(code);
    std::string text;
    if (facility == InterfaceFacility) {
        text = FormatFromTable(FromModuleFlags, GetModuleHandleA(nullptr), code);
    } else if (facility == TspClientFacility || facility == OcspClientFacility) {
        const bool tsp = facility == TspClientFacility;
        const TModule library = DataFileModule(tsp ? "tspcli.dll" : "ocspcli.dll");
        if (!library)
            return tsp ? "TSP client error" : "OCSP client error";
        text = FormatFromTable(FromModuleFlags, library.Get(), code);
    } else if (code >= FirstInternetCode && code <= LastInternetCode) {
        text = FormatFromLibrary(winHttpOwnsInternetCodes ? "winhttp.dll" : "wininet.dll", code);
    }
    if (text.empty())
        text = FormatFromTable(FromSystemFlags, nullptr, code);
    return text.empty() ? std::string(NotFoundText) : text;
}
}  // namespace

std::string GetSystemErrorMessage(unsigned int code, bool winHttpOwnsInternetCodes) {
    TLastErrorKept keep;
    try {
        return LookUpSystemErrorMessage(code, winHttpOwnsInternetCodes);
    } catch (...) {
        return "Неизвестная ошибка в GetSystemErrorMessage";
    }
}

std::string GetOleErrorInfoText() {
    TLastErrorKept keep;
    TComErrorInfo info;
    if (GetErrorInfo(0, info.Receive()) != S_OK || !info)
        return std::string();
    TSysString description;
    std::string result;
    if (SUCCEEDED(info.Get()->GetDescription(description.Receive())) && description.Get() != nullptr)
        result = WStringToString(description.Get());
    TSysString source;
    if (!result.empty() && SUCCEEDED(info.Get()->GetSource(source.Receive())) && source.Get() != nullptr)
        result += "\r\nSource = " + WStringToString(source.Get());
    return result;
}

std::string FormatErrorText(const std::string& message, int code, bool withComInfo, bool winHttpOwnsInternetCodes) {
    const DWORD last = GetLastError();
    const unsigned int ownCode = static_cast<unsigned int>(code);
    const unsigned int reported = last != 0 ? last : ownCode;

    std::string systemText;
    if (reported != 0)
        systemText = GetSystemErrorMessage(reported, winHttpOwnsInternetCodes);
    std::string interfaceText;
    if (ownCode != last && FacilityOf(ownCode) == InterfaceFacility)
        interfaceText = ReplaceAll(GetSystemErrorMessage(ownCode, false), "\r\n", "");
    const std::string comText = GetOleErrorInfoText();

    std::string result = message;
    if (withComInfo && !comText.empty())
        result += "\r\nOLE Error: " + comText;
    if (last != 0 || (code != 0 && !systemText.empty()))
        result += "\r\nОшибка LE № 0x" + IntToHexStdString(static_cast<int>(reported)) + ": " + systemText;
    if (code != 0 && !interfaceText.empty())
        result += " Доп. инфо: " + interfaceText;
    if (code != 0 && last != 0)
        result += " (0x" + IntToHexStdString(code) + ")";
    SetLastError(last);
    return result;
}

void LogOrStoreError(std::string* errorText, const std::string& message, int code, bool withComInfo,
                     bool winHttpOwnsInternetCodes) {
    StoreErrorText(errorText, FormatErrorText(message, code, withComInfo, winHttpOwnsInternetCodes));
}

void StoreErrorText(std::string* errorText, std::string text) {
    if (errorText != nullptr)
        *errorText = std::move(text);
    else
        VYRNLog(text);
}

void AppendErrorText(std::string* errorText, const std::string& text) {
    if (errorText != nullptr)
        *errorText += text;
    else
        VYRNLog(text);
}
