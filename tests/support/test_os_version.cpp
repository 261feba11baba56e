// The Windows version code for every version Wine can report (each in a process of its own,
// named for its own AppDefaults entry), answers only other systems give (through the seam),
// and the processor width.
#include "OsVersion.h"
#include "ChildProcess.h"
#include "RegistryFixture.h"
#include "SeamOverride.h"
#include "SystemInfoApi.h"
#include "TempFiles.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <string>

namespace {
std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\'));
}

// What GetOSVersionCode answers in a process that Wine shows the given version ("" for its default).
std::string AnswerUnder(const char* wineVersion) {
    const std::string exeName = std::string("vorsalt_osver_") + (*wineVersion ? wineVersion : "default") + ".exe";
    const TTempFile program = TTempFile::CopyOf(ProgramFolder() + "\\os_version_probe.exe", TempPath(exeName));
    if (!program.Made())
        return "copy failed";
    TTestKey appDefaults(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + exeName);
    if (*wineVersion != '\0' && !appDefaults.SetText("Version", wineVersion))
        return "no AppDefaults entry";
    return OutputOf("\"" + program.Path() + "\"");
}
}  // namespace

TEST(GetOSVersionCode, EveryVersionWineReports) {
    const struct {
        const char* wineVersion;
        const char* answer;
    } cases[] = {
        {"win98", "1 100 untouched"},      {"nt40", "1 400 Service Pack 6a"},   {"win2k", "1 500 Service Pack 4"},
        {"winxp", "1 510 Service Pack 3"}, {"win2003", "1 521 Service Pack 2"}, {"win10", "1 620 "},
        {"", "1 610 Service Pack 1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnswerUnder(c.wineVersion), c.answer) << (*c.wineVersion ? c.wineVersion : "default");
}

namespace {
// The version record the fake GetVersionExA hands out, and which record sizes it accepts.
struct TFakeVersion {
    bool extended;
    bool shortRecord;
    OSVERSIONINFOEXA record;
} fakeVersion;

BOOL WINAPI FakeGetVersionEx(LPOSVERSIONINFOA info) {
    const DWORD size = info->dwOSVersionInfoSize;
    const bool accepted = (size == sizeof(OSVERSIONINFOEXA) && fakeVersion.extended) ||
                          (size == sizeof(OSVERSIONINFOA) && fakeVersion.shortRecord);
    if (!accepted) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    memcpy(info, &fakeVersion.record, size);
    info->dwOSVersionInfoSize = size;
    return TRUE;
}

// Fake entries in the seam for one test.
class TSystemInfoSeam : public ::testing::Test {
protected:
    TSeamOverride<TSystemInfoApi> seam;
};

OSVERSIONINFOEXA Record(DWORD platform, DWORD major, DWORD minor, BYTE productType, const char* servicePack) {
    OSVERSIONINFOEXA record = {};
    record.dwPlatformId = platform;
    record.dwMajorVersion = major;
    record.dwMinorVersion = minor;
    record.wProductType = productType;
    strcpy(record.szCSDVersion, servicePack);
    return record;
}
}  // namespace

using GetOSVersionCodeSeam = TSystemInfoSeam;

TEST_F(GetOSVersionCodeSeam, AnswersOtherSystemsGive) {
    seam->GetVersionExA = FakeGetVersionEx;
    const struct {
        const char* label;
        TFakeVersion version;
        bool result;
        int code;
        const char* servicePack;
    } cases[] = {
        {"domain controller",
         {true, true, Record(2, 5, 2, VER_NT_DOMAIN_CONTROLLER, "Service Pack 2")},
         true,
         520,
         "Service Pack 2"},
        {"server 2008 R2", {true, true, Record(2, 6, 1, VER_NT_SERVER, "Service Pack 1")}, true, 611, "Service Pack 1"},
        {"workstation", {true, true, Record(2, 6, 0, VER_NT_WORKSTATION, "")}, true, 600, ""},
        {"short record only", {false, true, Record(2, 4, 0, 0, "Service Pack 5")}, true, 390, "Service Pack 5"},
        {"9x short record", {false, true, Record(1, 4, 10, 0, " A ")}, true, 100, "untouched"},
        {"unknown platform", {true, true, Record(3, 5, 0, 0, "x")}, true, -1, "untouched"},
        {"no record", {false, false, Record(2, 6, 1, 1, "")}, false, -1, "untouched"},
    };
    for (const auto& c : cases) {
        fakeVersion = c.version;
        int code = -1;
        std::string servicePack = "untouched";
        EXPECT_EQ(GetOSVersionCode(&code, &servicePack), c.result) << c.label;
        EXPECT_EQ(code, c.code) << c.label;
        EXPECT_EQ(servicePack, c.servicePack) << c.label;
    }
}

TEST(GetOSVersionCode, NullOutputsAreSkipped) {
    EXPECT_TRUE(GetOSVersionCode(nullptr, nullptr));
    int code = -1;
    EXPECT_TRUE(GetOSVersionCode(&code, nullptr));
    EXPECT_GT(code, 0);
}

TEST(IsOS64Bit, MatchesTheSystemThisProgramRunsOn) {
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    EXPECT_EQ(IsOS64Bit(), wow64 != FALSE);
}

namespace {
WORD fakeArchitecture;

void WINAPI FakeGetNativeSystemInfo(LPSYSTEM_INFO info) {
    info->wProcessorArchitecture = fakeArchitecture;
}

FARPROC WINAPI NativeInfoFake(HMODULE, LPCSTR name) {
    return strcmp(name, "GetNativeSystemInfo") == 0
               ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeGetNativeSystemInfo))
               : nullptr;
}

FARPROC WINAPI NoNativeInfo(HMODULE, LPCSTR) {
    return nullptr;
}
}  // namespace

using IsOS64BitSeam = TSystemInfoSeam;

TEST_F(IsOS64BitSeam, ArchitecturesOfTheNativeSystem) {
    seam->GetProcAddress = NativeInfoFake;
    const struct {
        WORD architecture;
        bool wide;
    } cases[] = {
        {PROCESSOR_ARCHITECTURE_INTEL, false}, {PROCESSOR_ARCHITECTURE_AMD64, true},
        {PROCESSOR_ARCHITECTURE_IA64, true},   {PROCESSOR_ARCHITECTURE_ARM64, true},
        {PROCESSOR_ARCHITECTURE_ARM, false},
    };
    for (const auto& c : cases) {
        fakeArchitecture = c.architecture;
        EXPECT_EQ(IsOS64Bit(), c.wide) << c.architecture;
    }
}

// Without GetNativeSystemInfo (Windows XP) the 32-bit program's own view answers: 32 bits.
TEST_F(IsOS64BitSeam, WithoutNativeInfoTheProgramsViewAnswers) {
    seam->GetProcAddress = NoNativeInfo;
    EXPECT_FALSE(IsOS64Bit());
}
