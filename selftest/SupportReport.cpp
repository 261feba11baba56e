#include "SupportReport.h"
#include "CryptOwned.h"
#include "Exception.h"
#include "FileVersion.h"
#include "Func_hosts.h"
#include "Func_scard.h"
#include "HttpFactory.h"
#include "Loggingthread.h"
#include "OsVersion.h"
#include "Owned.h"
#include "Providers.h"
#include "Registry.h"
#include "ReportProbes.h"
#include "Seam.h"
#include "StringHelpers.h"
#include "SystemFolders.h"
#include "class_http_wininet.h"
#include <wininet.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

TReportProbes TReportProbes::Real() {
    return {::GetLocalIP, ::GetLocalMAC, ::GetHostsReport};
}

namespace {

std::string ProgramVersion() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return GetModuleVersion(path);
}

// The system's short date and long time formats of the user's locale.
std::string LocalTimeText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[128] = {}, time[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, sizeof time);
    return std::string(date) + " " + time;
}

// "" when the value cannot be read.
std::string RegistryText(HKEY root, const char* key, const char* name) {
    std::string text;
    RegReadString(root, key, name, &text, 0);
    return text;
}

std::string WindowsVersionLine() {
    int code = 0;
    std::string servicePack, winver;
    GetOSVersionCode(&code, &servicePack);
    GetWinverVersion(&winver);
    return "Версия Windows: " + std::to_string(code) + " " + servicePack + " (" + winver + ")\r\n";
}

std::string CryptoProLine() {
    DWORD version = 0;
    std::string reason;
    GetCryptoProVersion(version, &reason);
    return "Версия CryptoPro: " + IntToHexStdString(static_cast<int>(version)) + ": " +
           RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Crypto Pro\\Settings", "Version") + "\r\n";
}

std::string CardReaderLine() {
    std::string reader, reason;
    const int result = FindCardReader(reader, &reason);
    const std::string shown = result == 0 && !reader.empty() ? reader
                              : reader.empty() ? "Не найдено ни одного вставленного ключевого носителя"
                                               : reason;
    return "Активный ридер смарт карт: " + shown + "\r\n";
}

std::string ProxyPart(TAllHTTP& client) {
    int type = 0;  // the WinINet client leaves it when the settings have no flags
    std::string proxy, bypass;
    if (client.GetProxyInfo(&type, &proxy, &bypass) != 0)
        return "\r\n[Proxy]\r\nнеизвестно\r\n";
    return "\r\n[Proxy]\r\n" + ProxyLine(type, proxy, bypass) + "\r\n";
}

// PATH whole: a value longer than the first buffer is read again with the size it needs.
std::string EnvironmentPart() {
    std::vector<char> buffer(4096);
    DWORD length = GetEnvironmentVariableA("PATH", buffer.data(), static_cast<DWORD>(buffer.size()));
    while (length >= buffer.size()) {
        buffer.resize(length);
        length = GetEnvironmentVariableA("PATH", buffer.data(), static_cast<DWORD>(buffer.size()));
    }
    if (length == 0)
        return "\r\n[Environment]\r\nPath_TSPOCSP_Process. Не удается получить текущие переменные окружения\r\n";
    return "\r\n[Environment]\r\n" + std::string(buffer.data(), length) + "\r\n\r\n";
}

// The values of an opened key, then each subkey's tree.
void DumpOpenedTree(HKEY key, std::string& text) {
    DumpRegistryValues(key, text);
    char subkey[259];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof subkey;
        if (RegEnumKeyExA(key, index, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        DumpRegistryTree(key, std::string(subkey, length), text);
    }
}

bool DumpPolicies(HKEY root, std::string& text) {
    text.clear();
    TRegKey key;
    if (RegOpenKeyExA(root, "SOFTWARE\\Policies\\Crypto-Pro", 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    DumpOpenedTree(key.Get(), text);
    return true;
}

// The machine's policies, else the user's.
std::string PoliciesPart() {
    std::string text;
    if (DumpPolicies(HKEY_LOCAL_MACHINE, text) || DumpPolicies(HKEY_CURRENT_USER, text))
        return text;
    return "\r\n[Policies]\r\nДанные об установленных политиках не получены.";
}

std::string HostsPart() {
    const std::string hosts = Seam<TReportProbes>().GetHostsReport();
    return "\r\n[hosts]\r\n" + (hosts.empty() ? std::string("Информация по хостам не получена\r\n") : hosts);
}

// Each registered provider with the number of algorithms it lists, -1 when it does not open.
std::string ProvidersPart() {
    std::string text = "\r\n[CSP]\r\n";
    CCSPTypes providers;
    std::string reason;
    if (!EnumCSPProviders(providers, &reason))
        return text + "Ошибка получения списка зарегистрированных криптопровайдеров в системе: " + reason + "\r\n";
    for (int i = 0; i < providers.GetCount(); ++i) {
        const std::string name = providers.GetName(i);
        const DWORD type = providers.GetType(i);
        int count = -1;
        TCryptProv context;
        if (CryptAcquireContextA(context.Receive(), nullptr, name.c_str(), type, CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
            EnumProviderAlgorithms(context.Get(), count);
        else
            context.Release();  // nothing was acquired
        if (name.find("Infotecs") != std::string::npos && count != 0)
            text += "! ";
        text += name + "(тип: " + std::to_string(type) + ") [" + std::to_string(count) + "]\r\n";
    }
    return text;
}

std::string ValueText(DWORD type, const char* data, DWORD size) {
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return std::string(data, strnlen(data, size));  // stored with or without its NUL
    case REG_DWORD: {
        DWORD value = 0;
        std::memcpy(&value, data, std::min<DWORD>(size, sizeof value));
        return std::to_string(value);
    }
    default:
        return "";
    }
}

// Makes the buffers as large as the key's longest value name and data; false when they are already.
bool GrowForValues(HKEY key, std::vector<char>& name, std::vector<char>& data) {
    DWORD longestName = 0, longestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, &longestData,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    const size_t nameSize = std::max<size_t>(name.size(), longestName + 1);
    const size_t dataSize = std::max<size_t>(data.size(), longestData + 1);
    if (nameSize == name.size() && dataSize == data.size())
        return false;
    name.resize(nameSize);
    data.resize(dataSize);
    return true;
}

}  // namespace

std::string ProxyLine(int type, const std::string& proxy, const std::string& bypass) {
    std::string line = "Proxy (" + IntToHexStdString(type) + "): ";
    if (type & PROXY_TYPE_DIRECT)
        return line + "Direct";
    if (type & PROXY_TYPE_AUTO_DETECT)
        line += "Auto detect";
    if (type & PROXY_TYPE_AUTO_PROXY_URL)
        line += "Auto Proxy URL";
    if (type & PROXY_TYPE_PROXY)
        line += "Proxy\r\nIP: " + proxy + "\r\nBypass: " + bypass;
    return line;
}

LONG DumpRegistryTree(HKEY key, const std::string& name, std::string& text) {
    if (!name.empty())
        text += "\r\n[" + name + "]\r\n";
    TRegKey opened;
    const LONG result = RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, opened.Receive());
    if (result != ERROR_SUCCESS)
        return result;
    DumpOpenedTree(opened.Get(), text);
    return opened.Close();
}

void DumpRegistryValues(HKEY key, std::string& text) {
    std::vector<char> name(260), data(4096);
    for (DWORD index = 0;;) {
        DWORD nameLength = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        const LONG result = RegEnumValueA(key, index, name.data(), &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE*>(data.data()), &dataSize);
        if (result == ERROR_MORE_DATA && GrowForValues(key, name, data))
            continue;  // the same value again, into buffers that hold it
        if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)
            break;  // no more values, or the key cannot be read
        if (result == ERROR_SUCCESS)
            text += std::string(name.data(), nameLength) + " = " + ValueText(type, data.data(), dataSize) + "\r\n";
        ++index;
    }
}

std::string BuildSupportReport(const std::string& resultsText) {
    const TReportProbes& probes = Seam<TReportProbes>();
    const std::string version = ProgramVersion();
    std::string report;
    std::unique_ptr<TAllHTTP> proxyClient;  // lives to the end of the report
    try {
        report = "[Общая информация]\r\n";
        report += "Версия: " + version + "\r\n";
        report += "Системное время: " + LocalTimeText() + "\r\n\r\n";
        if (!resultsText.empty())
            report += "[Результаты тестирования системы]\r\n" + resultsText + "\r\n\r\n";
        report += "[Информация о системе]\r\n";
        const bool is64 = IsOS64Bit();
        report += "Каталог Program Files: " + GetProgramFilesDir(is64) + "\r\n";
        report += WindowsVersionLine();
        report += std::string("Тип системы: ") + (is64 ? "64" : "32") + "-разрядная\r\n";
        report += CryptoProLine();
        report += "Версия IE: " + GetIEVersion() + "\r\n";
        report += "IP: " + probes.GetLocalIP() + "\r\n";
        std::string mac;
        if (probes.GetLocalMAC(mac))
            report += "MAC: " + mac + "\r\n";
        report += std::string("HTTP: ") + HttpTypeName(static_cast<unsigned>(GetHttpType())) + "\r\n";
        report += CardReaderLine();
        report += "Версия VipNet Client Monitor: " +
                  RegistryText(HKEY_LOCAL_MACHINE, "SOFTWARE\\InfoTeCS\\IP-LIR", "ProductVersion") + "\r\n";
        proxyClient = CreateHttpClient(false, 0);
        report += ProxyPart(*proxyClient);
        report += EnvironmentPart();
        report += PoliciesPart();
        report += HostsPart();
        report += ProvidersPart();
    } catch (const Exception& e) {
        report += "\r\n[ERROR]\r\nОшибка: Ошибка сбора информации по машине\r\nПричина: " + e.Message;
    }
    return report;
}
