// File versions, folders and the time-stamp policy address against the real system.
#include "FileVersion.h"
#include "PkiUrl.h"
#include "Registry.h"
#include "RegistryFixture.h"
#include "SystemFolders.h"
#include "TempFiles.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <windows.h>
#include <string>

namespace {
const char* const FixtureName = "vorsalt_version_fixture.dll";
const char* const FixturePath = "versioned\\vorsalt_version_fixture.dll";  // beside the test program
const char* const FixtureVersion = "3.14.15.9265 test build";
const char* const Untouched = "untouched";

std::string LanguageName(WORD language) {
    char name[80] = {};
    VerLanguageNameA(language, name, sizeof(name));
    return name;
}
}  // namespace

TEST(GetFileVersionText, ReadsVersionAndLanguageWithinCapacity) {
    const std::string language = LanguageName(0x0419);
    ASSERT_GT(language.size(), 3u);
    const struct {
        size_t versionCapacity, languageCapacity;
        std::string version, language;
    } cases[] = {
        {256, 256, FixtureVersion, language},
        {5, 4, "3.14", language.substr(0, 3)},
        {1, 1, "", ""},
    };
    for (const auto& c : cases) {
        char version[256], languageText[256];
        memset(version, 'v', sizeof(version));
        memset(languageText, 'l', sizeof(languageText));
        GetFileVersionText(FixturePath, version, c.versionCapacity, languageText, c.languageCapacity);
        EXPECT_EQ(std::string(version), c.version) << c.versionCapacity;
        EXPECT_EQ(std::string(languageText), c.language) << c.languageCapacity;
    }
}

TEST(GetFileVersionText, FilesWithoutVersionLeaveBuffersAlone) {
    const TTempFile plain(TempPath("vorsalt_no_version.txt"), "no resource here");
    for (const std::string& file : {plain.Path(), std::string("C:\\no\\such\\file.dll"), std::string()}) {
        char version[32] = "untouched", language[32] = "untouched";
        GetFileVersionText(file.c_str(), version, sizeof(version), language, sizeof(language));
        EXPECT_STREQ(version, Untouched) << file;
        EXPECT_STREQ(language, Untouched) << file;
        EXPECT_EQ(GetModuleVersion(file.c_str()), "") << file;
    }
    GetFileVersionText(nullptr, nullptr, 0, nullptr, 0);
    EXPECT_EQ(GetModuleVersion(nullptr), "");
}

// A bare module name finds the file of the loaded module, not one in the current folder.
TEST(GetModuleVersion, UsesTheLoadedModulesFile) {
    EXPECT_EQ(GetModuleVersion(FixtureName), "");
    EXPECT_EQ(GetModuleVersion(FixturePath), FixtureVersion);
    HMODULE module = LoadLibraryA(FixturePath);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(GetModuleVersion(FixtureName), FixtureVersion);
    FreeLibrary(module);
    EXPECT_EQ(GetModuleVersion(std::string(300, 'a').c_str()), "");
}

TEST(GetWinverVersion, ReadsWinverInTheWindowsFolder) {
    std::string text = Untouched;
    GetWinverVersion(&text);
    EXPECT_EQ(text, GetModuleVersion((GetWindowsDir() + "\\system32\\winver.exe").c_str()));
    EXPECT_NE(text, Untouched);
    GetWinverVersion(nullptr);
}

// The 64-bit view's folders, not the ones registry redirection shows this 32-bit program.
TEST(GetProgramFilesDir, ReadsTheSixtyFourBitView) {
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    if (!wow64) {
        EXPECT_EQ(GetProgramFilesDir(true), "");
        return;
    }
    EXPECT_EQ(GetProgramFilesDir(false), "C:\\Program Files");
    EXPECT_EQ(GetProgramFilesDir(true), "C:\\Program Files (x86)");
    std::string redirected;
    ASSERT_EQ(RegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                            &redirected, 0),
              0);
    EXPECT_EQ(redirected, "C:\\Program Files (x86)");
}

// The folder is remembered for the whole process, so this runs in a child that has not asked yet.
static void AskWindowsDirInAFreshProcess() {
    char saved[MAX_PATH] = {};
    const bool found = GetEnvironmentVariableA("WinDir", saved, MAX_PATH) > 0;
    SetEnvironmentVariableA("WinDir", nullptr);
    const std::string missing = GetWindowsDir();
    SetEnvironmentVariableA("WinDir", saved);
    const std::string present = GetWindowsDir();
    SetEnvironmentVariableA("WinDir", nullptr);
    const std::string remembered = GetWindowsDir();
    std::fprintf(stderr, "found=%d missing=\"%s\" present=\"%s\" remembered=\"%s\"\n", found, missing.c_str(),
                 present.c_str(), remembered.c_str());
    std::exit(found && missing.empty() && present == saved && remembered == saved ? 0 : 1);
}

TEST(GetWindowsDir, AsksUntilTheVariableExistsThenRemembers) {
    EXPECT_EXIT(AskWindowsDirInAFreshProcess(), ::testing::ExitedWithCode(0), "");
}

TEST(GetPKIurl, MachinePolicyBeforeUserPolicy) {
    const char* const path = "SOFTWARE\\Policies\\Crypto-Pro\\TSP";
    const char* const message = "GetPKIurl. Не удается получить доступ к политикам безопаности (TSP: DefaultTSPURL)";
    std::string url = Untouched, error;
    {
        TTestKey user(HKEY_CURRENT_USER, path);
        EXPECT_EQ(GetPKIurl(&url, &error), 1);
        EXPECT_EQ(url, Untouched);
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
        EXPECT_NE(error.find("0x80070002"), std::string::npos) << error;

        ASSERT_TRUE(user.SetText("DefaultTSPURL", "http://127.0.0.1/user/tsp.srf"));
        EXPECT_EQ(GetPKIurl(&url, &error), 0);
        EXPECT_EQ(url, "http://127.0.0.1/user/tsp.srf");

        TTestKey machine(HKEY_LOCAL_MACHINE, path);
        ASSERT_TRUE(machine.SetText("DefaultTSPURL", "http://127.0.0.1/machine/tsp.srf"));
        EXPECT_EQ(GetPKIurl(&url, &error), 0);
        EXPECT_EQ(url, "http://127.0.0.1/machine/tsp.srf");

        ASSERT_TRUE(machine.SetText("DefaultTSPURL", ""));
        EXPECT_EQ(GetPKIurl(&url, &error), 0);
        EXPECT_EQ(url, "");

        // A value of the wrong type counts as missing.
        ASSERT_TRUE(machine.SetDword("DefaultTSPURL", 1));
        EXPECT_EQ(GetPKIurl(&url, &error), 0);
        EXPECT_EQ(url, "http://127.0.0.1/user/tsp.srf");
    }
    error.clear();
    EXPECT_EQ(GetPKIurl(nullptr, &error), 1);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(GetPKIurl(nullptr, nullptr), 1);
}
