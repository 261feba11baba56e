// Levels: the registry's order, lookups by value and name, replacement; the configuration's booleans.
#include "HierLog.h"
#include "RecordingAppender.h"
#include <gtest/gtest.h>
#include <climits>

using namespace HierLog;

TEST(Levels, StandardLevelsInOrderOfValue) {
    const struct {
        TLogLevel* level;
        const char* name;
        int value;
    } table[] = {
        {All, "all", INT_MIN},   {Debug, "debug", 10000}, {Info, "info", 20000}, {Warn, "warn", 30000},
        {Error, "error", 40000}, {Fatal, "fatal", 50000}, {Off, "off", INT_MAX},
    };
    for (const auto& row : table) {
        ASSERT_NE(row.level, nullptr) << row.name;
        EXPECT_EQ(row.level->Name(), row.name);
        EXPECT_EQ(row.level->Level(), row.value);
        EXPECT_EQ(TLogLevel::GetLevel(row.value), row.level) << row.name;
        EXPECT_EQ(TLogLevel::GetLevel(std::string(row.name)), row.level) << row.name;
    }
    EXPECT_TRUE(Warn->IsGreaterOrEqual(Info));
    EXPECT_TRUE(Warn->IsGreaterOrEqual(Warn));
    EXPECT_FALSE(Info->IsGreaterOrEqual(Warn));
}

TEST(Levels, LookupsThatFindNothingGiveTheDefault) {
    const struct {
        const char* name;
        TLogLevel* defaultLevel;
        TLogLevel* expected;
    } byName[] = {
        {"INFO", nullptr, Debug},  // names match with letter case
        {"Info", Warn, Warn},     {" info", Fatal, Fatal}, {"", nullptr, Debug}, {"nothing", Off, Off},
    };
    for (const auto& row : byName) {
        TLogLevel* found = row.defaultLevel ? TLogLevel::GetLevel(std::string(row.name), row.defaultLevel)
                                            : TLogLevel::GetLevel(std::string(row.name));
        EXPECT_EQ(found, row.expected) << row.name;
    }
    EXPECT_EQ(TLogLevel::GetLevel(12345), Debug);
    EXPECT_EQ(TLogLevel::GetLevel(12345, Info), Info);
    EXPECT_EQ(TLogLevel::GetLevel(INT_MIN + 1, nullptr), nullptr);
}

// New levels change the process's registry: each case runs in a child process.
TEST(LevelsDeathTest, NewLevelGoesBetweenTheValuesAroundIt) {
    EXPECT_EXIT(
        {
            TLogLevel* notice = new TLogLevel("notice", 25000);
            const bool placed = TLogLevel::GetLevel(25000) == notice && TLogLevel::GetLevel("notice") == notice &&
                                TLogLevel::GetLevel(30000) == Warn && TLogLevel::GetLevel(20000) == Info;
            exit(placed ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(LevelsDeathTest, ReplacedLevelIsRetiredWhileLoggersStillUseIt) {
    EXPECT_EXIT(
        {
            TLogHierarchy hierarchy(new TLogRoot(Debug));
            TLogLogger* logger = hierarchy.GetLogger("retired");
            LogRef<TRecordingAppender> appender(new TRecordingAppender);
            logger->AddAppender(appender.get());
            TLogLevel* old = Warn;
            logger->SetLevel(old);
            hierarchy.SetThresholdProp(old);
            TLogLevel* warning = new TLogLevel("warning", 30000);
            // The registry answers with the new level; the old one still stands where it is used.
            bool ok = TLogLevel::GetLevel(30000) == warning && TLogLevel::GetLevel("warn", nullptr) == nullptr;
            ok = ok && old->Name() == "warn" && logger->Level() == old && hierarchy.Threshold() == old;
            logger->Warn("still");
            logger->Info("dropped");
            ok = ok && appender->Texts() == std::vector<std::string>{"warn - still\r\n"};
            exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(StrToBool, Table) {
    const struct {
        const char* value;
        bool defaultValue;
        bool expected;
    } table[] = {
        {"true", false, true},  {"TRUE", false, true}, {"Yes", false, true},   {"yes", false, true},
        {"false", true, false}, {"No", true, false},   {"FALSE", true, false}, {" yes", false, false},
        {"yes ", false, false}, {"", true, true},      {"", false, false},     {"1", false, false},
        {"on", true, true},     {"maybe", true, true}, {"ДА", true, true},
    };
    for (const auto& row : table)
        EXPECT_EQ(StrToBool(row.value, row.defaultValue), row.expected) << '"' << row.value << '"';
}
