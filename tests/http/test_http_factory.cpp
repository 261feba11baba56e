// The back-end choice: the version rule through a seam, the per-user value through the real
// registry, and the versions Wine reports to a program of its own.
#include "HttpFactory.h"
#include "ChildProcess.h"
#include "HttpTypeValue.h"
#include "HttpTypeApi.h"
#include "SeamOverride.h"
#include "class_http_wininet.h"
#include "class_http_winhttp.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <vector>

namespace {

struct Version {
    bool readable;
    int code;
    const char* servicePack;
};
Version reported;

bool ReportedVersion(int* code, std::string* servicePack) {
    if (!reported.readable)
        return false;
    *code = reported.code;
    *servicePack = reported.servicePack;
    return true;
}

class HttpFactory : public testing::Test {
protected:
    void SetUp() override { seam->GetOSVersionCode = ReportedVersion; }
    static bool MakesWinHttp() { return dynamic_cast<TWinHTTP*>(CreateHttpClient(false, 0).get()) != nullptr; }

    TSeamOverride<THttpTypeApi> seam;
    THttpTypeValue value;
};

TEST_F(HttpFactory, VersionRuleWithoutValue) {
    const struct {
        Version version;
        THttpType type;
    } cases[] = {
        {{true, 600, ""}, 2},
        {{true, 601, "Service Pack 2"}, 2},
        {{true, 610, "Service Pack 1"}, 2},
        {{true, 611, ""}, 2},
        {{true, 620, ""}, 2},
        {{true, 1000, ""}, 2},
        {{true, 510, "Service Pack 3"}, 2},
        {{true, 510, "Service Pack 2"}, 1},
        {{true, 510, ""}, 1},
        {{true, 510, "service pack 3"}, 1},
        {{true, 510, "Service Pack 3a"}, 1},
        {{true, 521, "Service Pack 2"}, 2},
        {{true, 521, "Service Pack 1"}, 1},
        {{true, 520, "Service Pack 2"}, 1},
        {{true, 500, "Service Pack 4"}, 1},
        {{true, 390, ""}, 1},
        {{true, 100, ""}, 1},
        {{false, 0, ""}, 1},
    };
    for (const auto& c : cases) {
        reported = c.version;
        EXPECT_EQ(GetHttpType(), c.type) << c.version.code << " " << c.version.servicePack;
        EXPECT_EQ(MakesWinHttp(), c.type == 2) << c.version.code << " " << c.version.servicePack;
    }
}

TEST_F(HttpFactory, ValueOverridesVersionWhateverItsType) {
    const BYTE two[] = {2}, twoWide[] = {2, 0}, qword[8] = {2};
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> data;
        THttpType onVista, onXp;  // version codes 600 and 510 without service pack
    } cases[] = {
        {"DWORD 0", REG_DWORD, {0, 0, 0, 0}, 0, 0},
        {"DWORD 1", REG_DWORD, {1, 0, 0, 0}, 1, 1},
        {"DWORD 2", REG_DWORD, {2, 0, 0, 0}, 2, 2},
        {"DWORD 3", REG_DWORD, {3, 0, 0, 0}, 3, 3},
        {"DWORD 7", REG_DWORD, {7, 0, 0, 0}, 7, 7},
        {"DWORD 0xFFFFFFFF", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, -1, -1},
        {"text \"2\"", REG_SZ, {'2', 0}, '2', '2'},
        {"text \"12\"", REG_SZ, {'1', '2', 0}, '1' + ('2' << 8), '1' + ('2' << 8)},
        {"text of four characters", REG_SZ, {'2', '2', '2', '2', 0}, 2, 1},
        {"one byte", REG_BINARY, {two, two + 1}, 2, 2},
        {"two bytes", REG_BINARY, {twoWide, twoWide + 2}, 2, 2},
        {"QWORD 2", REG_QWORD, {qword, qword + 8}, 2, 1},
        {"empty binary", REG_BINARY, {}, 0, 0},
    };
    for (const auto& c : cases) {
        value.Set(c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        reported = {true, 600, ""};
        EXPECT_EQ(GetHttpType(), c.onVista) << c.what;
        EXPECT_EQ(MakesWinHttp(), c.onVista == 2) << c.what;
        reported = {true, 510, ""};
        EXPECT_EQ(GetHttpType(), c.onXp) << c.what;
    }
}

TEST_F(HttpFactory, FailedVersionQueryIgnoresValue) {
    value.SetDword(2);
    reported = {false, 0, ""};
    EXPECT_EQ(GetHttpType(), 1);
    EXPECT_FALSE(MakesWinHttp());
}

TEST_F(HttpFactory, ChoosesAfreshAtEveryCall) {
    reported = {true, 610, "Service Pack 1"};
    EXPECT_TRUE(MakesWinHttp());
    value.SetDword(1);
    EXPECT_FALSE(MakesWinHttp());
    value.SetDword(2);
    reported = {true, 500, ""};
    EXPECT_TRUE(MakesWinHttp());
    value.Remove();
    EXPECT_FALSE(MakesWinHttp());
    reported = {true, 521, "Service Pack 2"};
    EXPECT_TRUE(MakesWinHttp());
}

TEST_F(HttpFactory, ClientsStartPlainAndUnconnected) {
    for (const Version& v : {Version{true, 610, ""}, Version{true, 500, ""}}) {
        reported = v;
        const auto client = CreateHttpClient(false, 0);
        ASSERT_NE(client, nullptr);
        EXPECT_FALSE(client->IsSecure());
        EXPECT_EQ(client->GetServer(), "");
        EXPECT_EQ(client->GetStatusCode(), 0);
    }
}

TEST(HttpTypeName, Table) {
    const struct {
        unsigned type;
        const char* name;
    } cases[] = {{0, "undef"}, {1, "WinInet"}, {2, "WinHTTP"},        {3, "undef"},
                 {7, "undef"}, {50, "undef"},  {0xFFFFFFFFu, "undef"}};
    for (const auto& c : cases)
        EXPECT_STREQ(HttpTypeName(c.type), c.name) << c.type;
}

// Runs the probe with the Windows version that Wine reports to it, and returns what it printed.
std::string ProbeWithVersion(const char* version) {
    const char appKey[] = "Software\\Wine\\AppDefaults\\http_type_probe.exe";
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, appKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != 0)
        return "";
    if (*version)
        RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), lstrlenA(version) + 1);
    else
        RegDeleteValueA(key, "Version");
    RegCloseKey(key);

    std::string output = OutputOf("http_type_probe.exe", 30000);
    RegDeleteKeyA(HKEY_CURRENT_USER, appKey);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return output;
}

TEST(HttpTypeOnWine, VersionsWineReports) {
    THttpTypeValue value;
    const struct {
        const char* version;  // "" for Wine's default, Windows 7 with the first service pack
        const char* output;
    } cases[] = {
        {"", "2 WinHTTP"},      {"win10", "2 WinHTTP"}, {"win2003", "2 WinHTTP"}, {"winxp", "2 WinHTTP"},
        {"win2k", "1 WinInet"}, {"nt40", "1 WinInet"},  {"win98", "1 WinInet"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProbeWithVersion(c.version), c.output) << c.version;

    value.SetDword(1);
    EXPECT_EQ(ProbeWithVersion("win10"), "1 WinInet");
    value.SetDword(2);
    EXPECT_EQ(ProbeWithVersion("win98"), "2 WinHTTP");
    value.SetDword(0);
    EXPECT_EQ(ProbeWithVersion(""), "0 undef");
    value.SetDword(7);
    EXPECT_EQ(ProbeWithVersion("winxp"), "7 undef");
}

}  // namespace
