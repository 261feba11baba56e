// The support report over the machine's and the user's registry of this process mapped onto
// scratch keys (the values, policies, providers and proxy settings that the report reads), the
// stand-in winscard.dll, the prefix's hosts file and this process's PATH.
#include "SupportReport.h"
#include "Endpoints.h"
#include "ErrorText.h"
#include "Exception.h"
#include "FileVersion.h"
#include "HostsFile.h"
#include "HttpTypeValue.h"
#include "ProviderApi.h"
#include "RegistryFixture.h"
#include "ReportProbes.h"
#include "ScriptedStandin.h"
#include "SeamOverride.h"
#include "TestCspSetup.h"
#include "TextChecks.h"
#include "UnixJob.h"
#include "WinInetApi.h"
#include "WineBehaviour.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

const char ConnectionsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
const char InternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char PoliciesKey[] = "SOFTWARE\\Policies\\Crypto-Pro";
const char ProvidersKey[] = "Software\\Microsoft\\Cryptography\\Defaults\\Provider\\";

// The text of a report from the end of `from` to the start of `to` after it; "<missing>" when
// either is not there.
std::string Between(const std::string& report, const std::string& from, const std::string& to) {
    const size_t start = report.find(from);
    if (start == std::string::npos)
        return "<missing>";
    const size_t end = report.find(to, start + from.size());
    return end == std::string::npos ? "<missing>" : report.substr(start + from.size(), end - start - from.size());
}

std::string SystemPart(const std::string& report) {
    return Between(report, "[Информация о системе]\r\n", "\r\n[Proxy]\r\n");
}
std::string ProxyPart(const std::string& report) {
    return Between(report, "\r\n[Proxy]\r\n", "\r\n[Environment]\r\n");
}
// What follows PATH up to the hosts section: the policies.
std::string PoliciesPart(const std::string& report) {
    return Between(report, "PATH-END\r\n\r\n", "\r\n[hosts]\r\n");
}

std::string OwnIP() {
    return "127.0.0.77";
}
bool OwnMac(std::string& mac) {
    mac = "00-1A-2B-3C-4D-5E";
    return true;
}
bool NoMac(std::string& mac) {
    mac.clear();
    return false;
}

// This process's PATH for one test, with a mark at its end (PATH-END) that the parts after it are
// found by; the old one back afterwards.
class TPathVariable {
public:
    TPathVariable() {
        std::vector<char> value(32768);
        const DWORD n = GetEnvironmentVariableA("PATH", value.data(), static_cast<DWORD>(value.size()));
        had = n > 0;
        old.assign(value.data(), n);
        Set("C:\\windows\\system32;C:\\windows;PATH-END");
    }
    ~TPathVariable() { SetEnvironmentVariableA("PATH", had ? old.c_str() : nullptr); }
    TPathVariable(const TPathVariable&) = delete;
    TPathVariable& operator=(const TPathVariable&) = delete;

    void Set(const std::string& value) const { SetEnvironmentVariableA("PATH", value.c_str()); }
    void Unset() const { SetEnvironmentVariableA("PATH", nullptr); }

private:
    std::string old;
    bool had = false;
};

class Report : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(machine.Active());
        ASSERT_TRUE(user.Active());
        scard.Script("");
        probes->GetLocalIP = OwnIP;
        probes->GetLocalMAC = NoMac;
    }

    TPredefinedKeyOverride machine{HKEY_LOCAL_MACHINE, "report-machine"};
    TPredefinedKeyOverride user{HKEY_CURRENT_USER, "report-user"};
    TScriptedStandin scard{"VORSALT_SCARD", "VORSALT_SCARD_JOURNAL"};
    TSeamOverride<TReportProbes> probes;
    TPathVariable path;
};

// Wine reports Windows 7 SP1 unless told otherwise; on Windows the line tells the machine's own.
TExpected<std::string> WindowsVersionLine() {
    std::string winver;
    GetWinverVersion(&winver);
    return "Версия Windows: " +
           WineOnly("610 Service Pack 1", "Windows 7 SP1 by default; on Windows the machine's own version") + " (" +
           winver + ")\r\n";
}
const TExpected<std::string> SystemType =
    "Тип системы: " + WineOnly("64", "the test prefix is a 64-bit one; on Windows the machine's own") +
    "-разрядная\r\n";
const std::string NoCard = "Активный ридер смарт карт: Не найдено ни одного вставленного ключевого носителя\r\n";

TEST_F(Report, SystemPartFromTheRegistry) {
    TTestKey versions(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", KEY_WOW64_64KEY);
    versions.SetText("ProgramFilesDir", "D:\\Программы");
    versions.SetText("ProgramFilesDir (x86)", "D:\\Программы (x86)");
    TTestKey explorer(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Internet Explorer");
    explorer.SetText("Version", "9.11.9600.18376");
    explorer.SetText("svcVersion", "11.0.9600.18376");
    explorer.SetText("Build", "99600");
    TestCspRegistration csp({75});
    TestCspRegistration::SetSwitch(TESTCSP_VERSION, 0x40026);
    TTestKey settings(HKEY_LOCAL_MACHINE, "SOFTWARE\\Crypto Pro\\Settings");
    settings.SetText("Version", "4.0.9944");
    TTestKey vipnet(HKEY_LOCAL_MACHINE, "SOFTWARE\\InfoTeCS\\IP-LIR");
    vipnet.SetText("ProductVersion", "4.3 (1.33043)");
    probes->GetLocalMAC = OwnMac;
    scard.Script("reader=Reader A|2;");

    EXPECT_MEETS(SystemPart(BuildSupportReport("")), "Каталог Program Files: D:\\Программы (x86)\r\n" +
                                                         WindowsVersionLine() + SystemType +
                                                         "Версия CryptoPro: 40026: 4.0.9944\r\n"
                                                         "Версия IE: 11.0.9600.18376 (99600)\r\n"
                                                         "IP: 127.0.0.77\r\n"
                                                         "MAC: 00-1A-2B-3C-4D-5E\r\n"
                                                         "HTTP: WinHTTP\r\n"
                                                         "Активный ридер смарт карт: Reader A\r\n"
                                                         "Версия VipNet Client Monitor: 4.3 (1.33043)\r\n");
}

TEST_F(Report, SystemPartWithNothingToRead) {
    EXPECT_MEETS(SystemPart(BuildSupportReport("")), "Каталог Program Files: \r\n" + WindowsVersionLine() + SystemType +
                                                         "Версия CryptoPro: 0: \r\n"
                                                         "Версия IE:  ()\r\n"
                                                         "IP: 127.0.0.77\r\n"
                                                         "HTTP: WinHTTP\r\n" +
                                                         NoCard + "Версия VipNet Client Monitor: \r\n");
}

// The machine's name resolves as the host's resolver has it: the sandbox has no adapter but
// loopback, so Wine finds no address of its own and asks the host. No adapter holds the address,
// so no MAC line follows.
TEST_F(Report, AddressesOfTheSandbox) {
    probes->GetLocalIP = RealCalls<TReportProbes>().GetLocalIP;
    probes->GetLocalMAC = RealCalls<TReportProbes>().GetLocalMAC;
    const TUnixRun resolved =
        TUnixJob("report-address")
            .Run("python3 -c 'import socket; print(\" \".join(socket.gethostbyname_ex(socket.gethostname())[2]))'");
    ASSERT_EQ(resolved.ExitCode, 0) << resolved.Output;
    std::istringstream words(resolved.Output);
    const std::vector<std::string> addresses{std::istream_iterator<std::string>(words), {}};
    ASSERT_FALSE(addresses.empty()) << resolved.Output;
    const std::string part = SystemPart(BuildSupportReport(""));
    const std::string ip = Between(part, "\r\nIP: ", "\r\nHTTP: ");
    EXPECT_NE(std::find(addresses.begin(), addresses.end(), ip), addresses.end()) << resolved.Output << "\n" << part;
}

TEST_F(Report, BackEndNames) {
    struct Case {
        DWORD value;  // 99: none
        TExpected<std::string> name;
    } const cases[] = {
        {99, WineOnly("WinHTTP", "Windows 7's code 610 chooses WinHTTP; on Windows the machine's version chooses")},
        {1, "WinInet"},
        {2, "WinHTTP"},
        {0, "undef"},
        {7, "undef"},
    };
    for (const Case& c : cases) {
        THttpTypeValue type;
        if (c.value != 99)
            type.SetDword(c.value);
        EXPECT_TRUE(ContainsAs(SystemPart(BuildSupportReport("")), "\r\nHTTP: " + c.name + "\r\n")) << c.value;
    }
}

TEST_F(Report, CardReaderLine) {
    struct Case {
        const char* script;
        std::string line;
    } const cases[] = {
        {"", NoCard},
        {"reader=Reader A|1;reader=Reader B|2;", "Активный ридер смарт карт: Reader B\r\n"},
        {"reader=A|2;reader=B|2;",
         "Активный ридер смарт карт: Обнаружено несколько карт. Извлеките все лишние карты, а затем попробуйте "
         "заново.\r\n"},
        {"establish=8010001D", NoCard},
        {"list=8010002E", NoCard},
        {"release=80100003;reader=A|2;", "Активный ридер смарт карт: Failed SCardReleaseContext\r\n"},
    };
    for (const Case& c : cases) {
        scard.Script(c.script);
        const std::string part = SystemPart(BuildSupportReport(""));
        EXPECT_EQ(Between(part, "\r\nHTTP: WinHTTP\r\n", "Версия VipNet"), c.line) << c.script;
    }
}

// The settings blob of WinHTTP: version, counter, kind flags, then proxy, bypass and script
// address, each a byte count and ANSI text.
void WriteConnectionSettings(const TTestKey& connections, DWORD flags) {
    std::string blob;
    auto dword = [&blob](DWORD value) { blob.append(reinterpret_cast<const char*>(&value), 4); };
    dword(0x46);
    dword(1);
    dword(flags);
    for (const std::string text : {"127.0.0.9:3128", "<local>", "http://127.0.0.9/proxy.pac"}) {
        dword(static_cast<DWORD>(text.size()));
        blob += text;
    }
    blob.append(32, '\0');
    connections.Set("DefaultConnectionSettings", REG_BINARY, blob.data(), static_cast<DWORD>(blob.size()));
}

const std::string ProxyList = "Proxy (2): Proxy\r\nIP: 127.0.0.9:3128\r\nBypass: <local>\r\n";

TEST_F(Report, ProxyOfTheWinHttpBackEnd) {
    struct Case {
        int flags;  // -1: no settings
        std::string line;
    } const cases[] = {
        {-1, "Proxy (8): Auto detect\r\n"},   {1, "Proxy (1): Direct\r\n"},      {3, ProxyList},
        {5, "Proxy (4): Auto Proxy URL\r\n"}, {9, "Proxy (8): Auto detect\r\n"},
    };
    for (const Case& c : cases) {
        TTestKey connections(HKEY_CURRENT_USER, ConnectionsKey);
        if (c.flags >= 0)
            WriteConnectionSettings(connections, c.flags);
        EXPECT_EQ(ProxyPart(BuildSupportReport("")), c.line) << c.flags;
    }
}

BOOL WINAPI QueryRefused(HINTERNET, DWORD, LPVOID, LPDWORD) {
    SetLastError(ERROR_INTERNET_INVALID_OPTION);
    return FALSE;
}

TEST_F(Report, ProxyOfTheWinInetBackEnd) {
    THttpTypeValue type;
    type.SetDword(1);
    {
        TTestKey settings(HKEY_CURRENT_USER, InternetSettings);
        settings.SetDword("ProxyEnable", 0);
        EXPECT_EQ(ProxyPart(BuildSupportReport("")), "Proxy (1): Direct\r\n");
        settings.SetDword("ProxyEnable", 1);
        settings.SetText("ProxyServer", "127.0.0.9:3128");
        settings.SetText("ProxyOverride", "<local>");
        EXPECT_EQ(ProxyPart(BuildSupportReport("")), ProxyList);
    }
    TSeamOverride<TWinInetApi> seam;
    seam->InternetQueryOptionA = QueryRefused;
    EXPECT_EQ(ProxyPart(BuildSupportReport("")), "неизвестно\r\n");
}

TEST_F(Report, PathIsShownWhole) {
    std::string longPath;
    for (int i = 0; longPath.size() < 5000; ++i)
        longPath += "C:\\Program Files\\Tool " + std::to_string(i) + "\\bin;";
    longPath += "PATH-END";
    path.Set(longPath);
    EXPECT_EQ(Between(BuildSupportReport(""), "\r\n[Environment]\r\n", "\r\n\r\n"), longPath);

    path.Unset();
    EXPECT_TRUE(Contains(BuildSupportReport(""),
                         "\r\n[Environment]\r\nPath_TSPOCSP_Process. Не удается получить текущие переменные "
                         "окружения\r\n\r\n[Policies]\r\n"));
}

TEST_F(Report, PoliciesOfTheMachineWithValuesOfEachType) {
    TTestKey policies(HKEY_LOCAL_MACHINE, PoliciesKey);
    policies.SetText("", "по умолчанию");
    policies.SetText("A_Text", "Значение политики");
    policies.SetText("B_Expand", "%SystemRoot%\\tsp", REG_EXPAND_SZ);
    policies.SetDword("C_Number", 300);
    policies.SetDword("D_Max", 0xFFFFFFFF);
    policies.Set("E_Short", REG_DWORD, "\x34\x12", 2);
    policies.Set("F_Binary", REG_BINARY, "\x01\x02\x03", 3);
    policies.Set("G_Multi", REG_MULTI_SZ, "a\0b\0", 5);
    policies.Set("H_Quad", REG_QWORD, "\x01\0\0\0\0\0\0\0", 8);
    policies.Set("I_Unterminated", REG_SZ, "abc", 3);
    const std::string longName(300, 'N'), longData(5000, 'v');
    policies.SetText(longName.c_str(), longData);
    TTestKey ocsp(HKEY_LOCAL_MACHINE, std::string(PoliciesKey) + "\\OCSP");
    TTestKey tsp(HKEY_LOCAL_MACHINE, std::string(PoliciesKey) + "\\TSP");
    tsp.SetText("DefaultTSPURL", "http://127.0.0.1/tsp");
    TTestKey inner(HKEY_LOCAL_MACHINE, std::string(PoliciesKey) + "\\TSP\\Inner");
    inner.SetDword("Deep", 1);
    TTestKey users(HKEY_CURRENT_USER, PoliciesKey);
    users.SetDword("Ignored", 1);

    EXPECT_EQ(PoliciesPart(BuildSupportReport("")),
              " = по умолчанию\r\n"
              "A_Text = Значение политики\r\n"
              "B_Expand = %SystemRoot%\\tsp\r\n"
              "C_Number = 300\r\n"
              "D_Max = 4294967295\r\n"
              "E_Short = 4660\r\n"
              "F_Binary = \r\n"
              "G_Multi = \r\n"
              "H_Quad = \r\n"
              "I_Unterminated = abc\r\n" +
                  longName + " = " + longData + "\r\n" +
                  "\r\n[OCSP]\r\n"
                  "\r\n[TSP]\r\n"
                  "DefaultTSPURL = http://127.0.0.1/tsp\r\n"
                  "\r\n[Inner]\r\n"
                  "Deep = 1\r\n");
}

TEST_F(Report, PoliciesOfTheUserWhenTheMachineHasNone) {
    TTestKey users(HKEY_CURRENT_USER, PoliciesKey);
    users.SetText("User", "да");
    TTestKey tsp(HKEY_CURRENT_USER, std::string(PoliciesKey) + "\\TSP");
    EXPECT_EQ(PoliciesPart(BuildSupportReport("")), "User = да\r\n\r\n[TSP]\r\n");
}

TEST_F(Report, PoliciesNowhere) {
    EXPECT_EQ(PoliciesPart(BuildSupportReport("")), "\r\n[Policies]\r\nДанные об установленных политиках не получены.");
    TTestKey empty(HKEY_LOCAL_MACHINE, PoliciesKey);
    EXPECT_EQ(PoliciesPart(BuildSupportReport("")), "") << "an empty key of the machine is dumped as it is";
}

TEST(RegistryDump, KeyThatDoesNotOpen) {
    std::string text = "kept";
    EXPECT_EQ(DumpRegistryTree(HKEY_CURRENT_USER, "Software\\Vorsalt-tests\\no such key", text), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text, "kept\r\n[Software\\Vorsalt-tests\\no such key]\r\n");
}

TEST_F(Report, HostsEntries) {
    THostsFile hosts;
    hosts.Write("# comment\r\n127.0.0.1 localhost\r\n127.0.0.5 www." VORSALT_CA_DOMAIN "\r\n");
    EXPECT_EQ(Between(BuildSupportReport(""), "\r\n[hosts]\r\n", "\r\n[CSP]\r\n"),
              "127.0.0.1\tlocalhost\r\n* 127.0.0.5\twww." VORSALT_CA_DOMAIN "\r\n");
    hosts.Write("# only a comment\r\n");
    EXPECT_EQ(Between(BuildSupportReport(""), "\r\n[hosts]\r\n", "\r\n[CSP]\r\n"),
              "Информация по хостам не получена\r\n");

    // The reader's file exception ends the report.
    ASSERT_TRUE(hosts.Remove());
    const std::string report = BuildSupportReport("");
    const std::string end = "\r\n[ERROR]\r\nОшибка: Ошибка сбора информации по машине\r\nПричина: Cannot open file \"" +
                            hosts.Path() + "\". ";
    EXPECT_TRUE(
        Contains(report, "PATH-END\r\n\r\n\r\n[Policies]\r\nДанные об установленных политиках не получены." + end))
        << report.substr(report.size() > 300 ? report.size() - 300 : 0);
    EXPECT_FALSE(Contains(report, "[hosts]"));
    EXPECT_FALSE(Contains(report, "[CSP]"));
}

std::string Raising() {
    throw Exception("Сбой зонда");
}

TEST_F(Report, ClassLibraryExceptionEndsTheReport) {
    probes->GetHostsReport = Raising;
    std::string report = BuildSupportReport("");
    const std::string end = "\r\n[ERROR]\r\nОшибка: Ошибка сбора информации по машине\r\nПричина: Сбой зонда";
    EXPECT_TRUE(EndsWith(report, end)) << report;
    EXPECT_TRUE(Contains(report, "\r\n[Environment]\r\n"));
    EXPECT_FALSE(Contains(report, "[hosts]"));
    EXPECT_FALSE(Contains(report, "[CSP]"));

    probes->GetLocalIP = Raising;
    report = BuildSupportReport("");
    EXPECT_TRUE(EndsWith(report, "\r\nВерсия IE:  ()\r\n" + end)) << report;
}

TEST_F(Report, ProvidersWithTheirAlgorithms) {
    TestCspRegistration csp({75});
    TTestKey infotecs(HKEY_LOCAL_MACHINE, std::string(ProvidersKey) + "Infotecs Fake CSP");
    infotecs.SetText("Image Path", "C:\\nowhere\\infotecs.dll");
    infotecs.SetDword("Type", 2);
    TTestKey other(HKEY_LOCAL_MACHINE, std::string(ProvidersKey) + "Other Missing CSP");
    other.SetText("Image Path", "C:\\nowhere\\other.dll");
    other.SetDword("Type", 1);
    const std::string report = BuildSupportReport("");
    const std::string csp75 = TestCspName75;
    EXPECT_EQ(report.substr(report.find("\r\n[CSP]\r\n")), "\r\n[CSP]\r\n" + csp75 + "(тип: 75) [" +
                                                               std::to_string(TestCspAlgorithmCount) +
                                                               "]\r\n"
                                                               "! Infotecs Fake CSP(тип: 2) [-1]\r\n"
                                                               "Other Missing CSP(тип: 1) [-1]\r\n");
    EXPECT_TRUE(Contains(report, "\r\nВерсия CryptoPro: 400: \r\n"));
}

BOOL WINAPI NameUnreadable(DWORD, DWORD*, DWORD, DWORD*, LPSTR name, DWORD* size) {
    if (name == nullptr) {
        *size = 8;
        return TRUE;
    }
    SetLastError(ERROR_MORE_DATA);
    return FALSE;
}

TEST_F(Report, ProviderListUnreadable) {
    TSeamOverride<TProviderApi> seam;
    seam->CryptEnumProvidersA = NameUnreadable;
    const std::string report = BuildSupportReport("");
    SetLastError(ERROR_MORE_DATA);
    EXPECT_EQ(report.substr(report.find("\r\n[CSP]\r\n")),
              "\r\n[CSP]\r\nОшибка получения списка зарегистрированных криптопровайдеров в системе: " +
                  FormatErrorText("ERROR - CryptEnumProviders", 0, false, false) + "\r\n");
}

// The date and time of a "Системное время: " line, as seconds of the day and the date.
bool ParseTime(const std::string& line, SYSTEMTIME& time) {
    int day, month, year, hour, minute, second;
    char end;
    if (std::sscanf(line.c_str(), "%2d.%2d.%4d %d:%2d:%2d%c", &day, &month, &year, &hour, &minute, &second, &end) != 6)
        return false;
    time = {};
    time.wDay = static_cast<WORD>(day);
    time.wMonth = static_cast<WORD>(month);
    time.wYear = static_cast<WORD>(year);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    return true;
}

int SecondOfDay(const SYSTEMTIME& t) {
    return (t.wHour * 60 + t.wMinute) * 60 + t.wSecond;
}

TEST_F(Report, SectionsInTheirOrderBeforeAndAfterARun) {
    SYSTEMTIME before, after, shown;
    GetLocalTime(&before);
    const std::string first = BuildSupportReport("");
    GetLocalTime(&after);
    ASSERT_TRUE(StartsWith(first, "[Общая информация]\r\nВерсия: \r\nСистемное время: ")) << first.substr(0, 100);
    const std::string time = Between(first, "Системное время: ", "\r\n");
    ASSERT_TRUE(ParseTime(time, shown)) << "dd.MM.yyyy H:mm:ss, the Russian locale's formats: " << time;
    EXPECT_EQ(shown.wDay, before.wDay);
    EXPECT_EQ(shown.wMonth, before.wMonth);
    EXPECT_EQ(shown.wYear, before.wYear);
    EXPECT_GE(SecondOfDay(shown), SecondOfDay(before));
    EXPECT_LE(SecondOfDay(shown), SecondOfDay(after));
    EXPECT_EQ(Between(first, "Системное время: " + time, "[Proxy]"),
              "\r\n\r\n[Информация о системе]\r\n" + SystemPart(first) + "\r\n");

    const std::string results = "! Проверка[Connect80]: сбой\r\nСНИЛС: \r\n\r\n";
    const std::string second = BuildSupportReport(results);
    EXPECT_EQ(Between(second, "Системное время: ", "[Информация о системе]").substr(time.size()),
              "\r\n\r\n[Результаты тестирования системы]\r\n" + results + "\r\n\r\n");

    std::vector<std::string> headers;
    for (size_t at = second.find("\r\n["); at != std::string::npos; at = second.find("\r\n[", at + 1))
        headers.push_back(second.substr(at + 2, second.find(']', at) - at - 1));
    const std::vector<std::string> order = {"[Результаты тестирования системы]",
                                            "[Информация о системе]",
                                            "[Proxy]",
                                            "[Environment]",
                                            "[Policies]",
                                            "[hosts]",
                                            "[CSP]"};
    EXPECT_EQ(headers, order);
}

}  // namespace
