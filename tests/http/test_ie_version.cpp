// The Internet Explorer version line from registry fixtures of the machine's values.
#include <gtest/gtest.h>
#include <string>
#include "RegistryFixture.h"
#include "class_http_wininet.h"

namespace {
const char ExplorerKey[] = "SOFTWARE\\Microsoft\\Internet Explorer";
const char* const Missing = nullptr;
}  // namespace

TEST(THttpIEVersion, ServiceVersionElseVersionWithTheBuild) {
    struct Case {
        const char* name;
        const char *serviceVersion, *version, *build;
        std::string line;
    } cases[] = {
        {"all three", "11.1.19041.0", "9.11.19041.0", "99600", "11.1.19041.0 (99600)"},
        {"no service version", Missing, "8.0.7601.17514", "8.0.7601", "8.0.7601.17514 (8.0.7601)"},
        {"empty service version", "", "8.0.7601.17514", "8.0.7601", "8.0.7601.17514 (8.0.7601)"},
        {"version only", Missing, "7.0", Missing, "7.0 ()"},
        {"none", Missing, Missing, Missing, " ()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPredefinedKeyOverride machine(HKEY_LOCAL_MACHINE, "ie-version");
        ASSERT_TRUE(machine.Active());
        TTestKey explorer(HKEY_LOCAL_MACHINE, ExplorerKey);
        for (const auto& value : {std::make_pair("svcVersion", c.serviceVersion), std::make_pair("Version", c.version),
                                  std::make_pair("Build", c.build)})
            if (value.second != Missing)
                explorer.SetText(value.first, value.second);
        EXPECT_EQ(GetIEVersion(), c.line);
    }
}

TEST(THttpIEVersion, ValueOfAnotherTypeCountsAsMissing) {
    TPredefinedKeyOverride machine(HKEY_LOCAL_MACHINE, "ie-version");
    ASSERT_TRUE(machine.Active());
    TTestKey explorer(HKEY_LOCAL_MACHINE, ExplorerKey);
    explorer.SetDword("svcVersion", 11);
    explorer.SetText("Version", "9.0");
    explorer.SetDword("Build", 9600);
    EXPECT_EQ(GetIEVersion(), "9.0 ()");
}
