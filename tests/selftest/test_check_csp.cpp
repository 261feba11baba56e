// Checks 2 and 3 against Wine's advapi32 and crypt32, with the test provider and the CryptoPro
// settings written into the registry by each case.
#include "TestCspSetup.h"
#include "Tests.h"
#include "WineHashedLength.h"
#include <windows.h>
#include <gtest/gtest.h>

namespace {

const TWineHashedLength WineHashedLength;

const char* const SettingsKey = CryptoProSettings::SettingsKey;
const char* const ParametersKey = CryptoProSettings::ParametersKey;
const char* const LegacySuites = CryptoProSettings::LegacySuites;
const std::string VersionText =
    "Необходимо установить версию КриптоПро CSP выше 3.6.7777. В настоящее время установлена ";
const std::string SuitesText = "Необходимо убрать поддержку устаревших cipher suite в настройках КриптоПро CSP";

TEST(CheckCSPInstalled, ProviderVersionAndCipherSuites) {
    struct Case {
        const char* what;
        std::vector<DWORD> types;
        const char* version;  // null: no value
        int suites;           // -1: no value, -2: a text value
        int result;
        std::string info;
    };
    const Case cases[] = {
        {"no provider", {}, "3.6.5359", 0, 1, "В системе не установлен Крипто-Про"},
        {"only type 80, nothing set", {80}, nullptr, -1, 0, ""},
        {"type 75, nothing set", {75}, nullptr, -1, 0, ""},
        {"a version below", {75}, "3.6.5359", -1, 100, VersionText + "3.6.5359"},
        {"a version below, suites off", {75}, "3.6.6497", 1, 100, VersionText + "3.6.6497"},
        {"the threshold version", {75}, "3.6.7777", 1, 0, ""},
        {"above the threshold", {75}, "3.6.77771", -1, 100, VersionText + "3.6.77771"},
        {"a newer line", {75}, "4.0.9944", 0, 100, SuitesText},
        {"another 3.x line", {75}, "3.9.8339", 1, 0, ""},
        {"both warnings", {75, 80}, "3.6.5359", 0, 100, VersionText + "3.6.5359\r\n" + SuitesText},
        {"a suites value of another type", {75}, "5.0.11455", -2, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestCspRegistration csp(c.types);
        CryptoProSettings settings;
        if (c.version)
            settings.SetText(SettingsKey, "Version", c.version);
        if (c.suites >= 0)
            settings.SetNumber(ParametersKey, LegacySuites, static_cast<DWORD>(c.suites));
        if (c.suites == -2)
            settings.SetText(ParametersKey, LegacySuites, "0");
        std::string info;
        EXPECT_EQ(CheckCSPInstalled(info), c.result);
        EXPECT_EQ(info, c.info);
    }
}

TEST(CheckCSPInstalled, VersionOfAnotherTypeDoesNotWarn) {
    TestCspRegistration csp({75});
    CryptoProSettings settings;
    settings.SetNumber(SettingsKey, "Version", 36);
    std::string info;
    EXPECT_EQ(CheckCSPInstalled(info), 0);
    EXPECT_EQ(info, "");
}

TEST(CheckCSPWork, HashThroughTheProvider) {
    struct Case {
        const char* what;
        std::vector<DWORD> types;
        const char* failSwitch;
        int result;
        std::string info;  // all of it on success, else its start
    };
    const Case cases[] = {
        {"type 75", {75}, nullptr, 0, ""},
        {"only type 80", {80}, nullptr, 0, ""},
        {"no provider", {}, nullptr, 3, "_hash. Getting CMSG_HASHED  failed.\r\n"},
        {"the data is refused", {75}, TESTCSP_FAIL_HASH_DATA, 4, "_hash. Getting CryptMsgUpdate  failed.\r\n"},
        {"no hash value", {75}, TESTCSP_FAIL_HASH_VALUE, 5, "_hash. Getting CryptMsgGetParam  failed.\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestCspRegistration csp(c.types);
        if (c.failSwitch)
            TestCspRegistration::SetSwitch(c.failSwitch, static_cast<DWORD>(NTE_FAIL));
        std::string info;
        EXPECT_EQ(CheckCSPWork(info), c.result);
        EXPECT_EQ(c.result == 0 ? info : info.substr(0, c.info.size()), c.info);
    }
}

}  // namespace
