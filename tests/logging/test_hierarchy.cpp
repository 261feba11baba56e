// Loggers in their hierarchy: names, parents, effective levels, additivity, threshold, appender
// lists and their listeners, reset and clearing; the internal logger's lines.
#include "DebugOutputCapture.h"
#include "HierLog.h"
#include "RecordingAppender.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <thread>

using namespace HierLog;

namespace {

class Hierarchy : public ::testing::Test {
protected:
    TLogHierarchy hierarchy{new TLogRoot(Error)};
};

struct RecordingListener : TLogInterfaced<ILogHierarchyEventListener> {
    void AppenderAdded(TLogLogger* logger, ILogAppender* appender) override {
        events.push_back("added " + logger->Name() + " " + appender->GetName());
    }
    void AppenderRemoved(TLogLogger* logger, ILogAppender* appender) override {
        events.push_back("removed " + logger->Name() + " " + appender->GetName());
    }
    std::vector<std::string> events;
};

}  // namespace

TEST_F(Hierarchy, GetLoggerMakesEveryAncestor) {
    TLogLogger* abc = hierarchy.GetLogger("a.b.c");
    TLogStringList names;
    hierarchy.GetCurrentLoggers(names);
    EXPECT_EQ(names, (TLogStringList{"a.b.c", "a.b", "a"}));
    TLogLogger* ab = hierarchy.Exists("a.b");
    TLogLogger* a = hierarchy.Exists("a");
    ASSERT_TRUE(ab && a);
    EXPECT_EQ(abc->Parent(), ab);
    EXPECT_EQ(ab->Parent(), a);
    EXPECT_EQ(a->Parent(), hierarchy.Root());
    EXPECT_EQ(hierarchy.Root()->Name(), "root");
    EXPECT_EQ(abc->Hierarchy(), &hierarchy);
    EXPECT_TRUE(abc->Additive());
    EXPECT_EQ(hierarchy.Exists("a.b.c.d"), nullptr);
}

TEST_F(Hierarchy, NamesMatchWithoutLetterCase) {
    TLogLogger* lower = hierarchy.GetLogger("a.b");
    EXPECT_EQ(hierarchy.GetLogger("A.B"), lower);
    EXPECT_EQ(hierarchy.Exists("A.b"), lower);
    EXPECT_EQ(lower->Name(), "a.b");
    TLogLogger* cyrillic = hierarchy.GetLogger("Журнал");
    EXPECT_EQ(hierarchy.GetLogger("жУРНАЛ"), cyrillic);
    TLogStringList names;
    hierarchy.GetCurrentLoggers(names);
    EXPECT_EQ(names, (TLogStringList{"a.b", "a", "Журнал"}));
}

TEST_F(Hierarchy, EffectiveLevelComesFromTheNearestAncestor) {
    TLogLogger* abc = hierarchy.GetLogger("a.b.c");
    TLogLogger* ab = hierarchy.Exists("a.b");
    EXPECT_EQ(abc->Level(), Error);
    ab->SetLevel(Info);
    EXPECT_EQ(abc->Level(), Info);
    abc->SetLevel(Fatal);
    EXPECT_EQ(abc->Level(), Fatal);
    abc->SetLevel(nullptr);
    EXPECT_EQ(abc->Level(), Info);
    const struct {
        TLogLevel* level;
        bool enabled;
    } table[] = {{All, false}, {Debug, false}, {Info, true}, {Warn, true}, {Error, true}, {Fatal, true}, {Off, true}};
    for (const auto& row : table)
        EXPECT_EQ(abc->IsEnabledFor(row.level), row.enabled) << row.level->Name();
    EXPECT_FALSE(abc->IsDebugEnabled());
    EXPECT_TRUE(abc->IsInfoEnabled());
    EXPECT_TRUE(abc->IsWarnEnabled() && abc->IsErrorEnabled() && abc->IsFatalEnabled());
}

TEST_F(Hierarchy, RootNeverLosesItsLevel) {
    TDebugOutputCapture capture;
    hierarchy.Root()->SetLevel(nullptr);
    EXPECT_EQ(hierarchy.Root()->Level(), Debug);
    EXPECT_EQ(Count(capture.Lines(), InternalLine("error", "The root can't have a nil level")), 1u);
}

TEST_F(Hierarchy, EventsReachTheAppendersOfTheAdditiveChain) {
    LogRef<TRecordingAppender> root(new TRecordingAppender("root")), a(new TRecordingAppender("a")),
        ab(new TRecordingAppender("a.b"));
    hierarchy.Root()->AddAppender(root.get());
    hierarchy.GetLogger("a")->AddAppender(a.get());
    hierarchy.GetLogger("a.b")->AddAppender(ab.get());
    const struct {
        bool additiveA, additiveAB;
        size_t root, a, ab;
    } table[] = {
        {true, true, 1, 1, 1},
        {false, true, 0, 1, 1},
        {true, false, 0, 0, 1},
        {false, false, 0, 0, 1},
    };
    for (const auto& row : table) {
        for (auto* appender : {root.get(), a.get(), ab.get()})
            appender->Forget();
        hierarchy.Exists("a")->SetAdditive(row.additiveA);
        hierarchy.Exists("a.b")->SetAdditive(row.additiveAB);
        hierarchy.Exists("a.b")->Error("e");
        EXPECT_EQ(root->Texts().size(), row.root) << row.additiveA << row.additiveAB;
        EXPECT_EQ(a->Texts().size(), row.a) << row.additiveA << row.additiveAB;
        EXPECT_EQ(ab->Texts().size(), row.ab) << row.additiveA << row.additiveAB;
        EXPECT_EQ(hierarchy.Exists("a.b")->CountAppenders(), static_cast<int>(row.root + row.a + row.ab));
    }
}

TEST_F(Hierarchy, EventsGoUpALongChainFromTheChildToTheRootAndLeaveItsLocksFree) {
    // Appenders that note their names in the order they write.
    struct NamingAppender : TLogCustomAppender {
        NamingAppender(const std::string& name, std::vector<std::string>& written) : written(written) {
            Construct(name, nullptr);
        }
        void DoAppend(const std::string&) override { written.push_back(FName); }
        using TLogCustomAppender::DoAppend;
        std::vector<std::string>& written;
    };
    std::vector<std::string> written, expected;
    std::string name;
    for (int depth = 0; depth < 40; ++depth) {  // longer than the locks one walk of the chain holds
        name += (depth ? ".l" : "l") + std::to_string(depth);
        hierarchy.GetLogger(name)->AddAppender(new NamingAppender(name, written));
        expected.insert(expected.begin(), name);
    }
    hierarchy.Root()->AddAppender(new NamingAppender("root", written));
    expected.push_back("root");
    TLogLogger* deepest = hierarchy.Exists(name);
    deepest->Error("e");
    EXPECT_EQ(written, expected);
    written.clear();
    std::thread([deepest] { deepest->Error("e"); }).join();  // hangs if a lock stayed held
    EXPECT_EQ(written, expected);
    hierarchy.Shutdown();  // the appenders' footers while written stands
}

TEST_F(Hierarchy, RequestsBelowTheEffectiveLevelOrTheThresholdAreDropped) {
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    hierarchy.Root()->AddAppender(appender.get());
    TLogLogger* logger = hierarchy.GetLogger("a.b");
    logger->Info("below the root's error");
    logger->Error("at error");
    EXPECT_EQ(appender->Texts(), std::vector<std::string>{"error - at error\r\n"});

    appender->Forget();
    logger->SetLevel(Debug);
    hierarchy.SetThresholdProp(Warn);
    logger->Info("below the threshold");
    logger->Warn("at the threshold");
    EXPECT_TRUE(logger->IsInfoEnabled());  // the threshold is not asked
    EXPECT_EQ(appender->Texts(), std::vector<std::string>{"warn - at the threshold\r\n"});

    appender->Forget();
    hierarchy.SetThresholdProp(Off);
    logger->Fatal("off");
    logger->AssertLog(true, "holds");
    logger->AssertLog(false, "asserted");  // neither test applies
    EXPECT_EQ(appender->Texts(), std::vector<std::string>{"error - asserted\r\n"});
    hierarchy.SetThresholdProp(nullptr);
    EXPECT_EQ(hierarchy.Threshold(), Off);
}

TEST_F(Hierarchy, EveryLevelOperationLogsAtItsLevel) {
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    TLogLogger* logger = hierarchy.GetLogger("ops");
    logger->AddAppender(appender.get());
    logger->SetLevel(All);
    logger->Debug("d");
    logger->Info("i");
    logger->Warn("w");
    logger->Error("e");
    logger->Fatal("f");
    logger->Log(Info, "l");
    EXPECT_EQ(appender->Texts(), (std::vector<std::string>{"debug - d\r\n", "info - i\r\n", "warn - w\r\n",
                                                           "error - e\r\n", "fatal - f\r\n", "info - l\r\n"}));
}

TEST_F(Hierarchy, ThresholdByName) {
    TDebugOutputCapture capture;
    const struct {
        const char* name;
        TLogLevel* threshold;
        bool warned;
    } table[] = {
        {"WARN", Warn, false}, {"info", Info, false}, {"Fatal", Fatal, false}, {"loud", Fatal, true}, {"", Fatal, true},
    };
    for (const auto& row : table) {
        hierarchy.SetThreshold(row.name);
        EXPECT_EQ(hierarchy.Threshold(), row.threshold) << row.name;
        const std::string warning = InternalLine("warn",
                                                 std::string("Could not convert \"") + row.name + "\" to level");
        EXPECT_EQ(Count(capture.Lines(), warning), row.warned ? 1u : 0u) << row.name;
    }
    EXPECT_TRUE(hierarchy.IsDisabled(Error->Level()));
    EXPECT_FALSE(hierarchy.IsDisabled(Fatal->Level()));
}

TEST_F(Hierarchy, NoAppenderLinesOnEveryRequestAndTheWarningOncePerHierarchy) {
    TDebugOutputCapture capture;
    TLogLogger* logger = hierarchy.GetLogger("lonely");
    logger->Error("one");
    logger->Error("two");
    const std::string noAppender = "No appenders could be found for logger \"lonely\"";
    const std::string initialise = "Please initialise the HierLog system properly";
    EXPECT_EQ(Count(capture.Lines(), InternalLine("error", noAppender)), 2u);
    EXPECT_EQ(Count(capture.Lines(), InternalLine("error", initialise)), 2u);

    TLogHierarchy other(new TLogRoot(Error));
    for (int i = 0; i < 3; ++i) {
        hierarchy.EmitNoAppenderWarning(logger);
        other.EmitNoAppenderWarning(other.GetLogger("elsewhere"));
    }
    EXPECT_EQ(Count(capture.Lines(), InternalLine("warn", noAppender)), 1u);
    EXPECT_EQ(Count(capture.Lines(), InternalLine("warn", "No appenders could be found for logger \"elsewhere\"")), 1u);
    EXPECT_EQ(Count(capture.Lines(), InternalLine("warn", initialise)), 2u);
}

TEST_F(Hierarchy, AppendersOnlyBelowAnAncestorGiveNoNoAppenderLines) {
    LogRef<TRecordingAppender> child(new TRecordingAppender("child"));
    hierarchy.GetLogger("p.c")->AddAppender(child.get());  // none on p, none on the root
    TDebugOutputCapture capture;
    hierarchy.Exists("p.c")->Error("written");
    EXPECT_EQ(child->Texts(), std::vector<std::string>{"error - written\r\n"});
    EXPECT_TRUE(capture.Lines().empty());
}

TEST_F(Hierarchy, AppenderListAndListeners) {
    LogRef<RecordingListener> listener(new RecordingListener);
    hierarchy.AddHierarchyEventListener(listener.get());
    hierarchy.AddHierarchyEventListener(listener.get());  // once only
    TLogLogger* logger = hierarchy.GetLogger("l");
    LogRef<TRecordingAppender> one(new TRecordingAppender("one")), two(new TRecordingAppender("two"));
    logger->AddAppender(one.get());
    logger->AddAppender(one.get());  // already present: nothing
    logger->AddAppender(two.get());
    EXPECT_EQ(logger->CountAppenders(), 2);
    EXPECT_EQ(logger->GetAppender("two"), LogRef<ILogAppender>(two.get()));
    EXPECT_FALSE(logger->GetAppender("TWO"));  // names match with letter case
    logger->RemoveAppender("two");             // by name: no event
    EXPECT_FALSE(logger->IsAppender(two.get()));
    logger->RemoveAppender(two.get());  // by reference: an event, present or not
    logger->RemoveAppender(one.get());
    logger->AddAppender(two.get());
    logger->RemoveAllAppenders();  // no events
    EXPECT_EQ(logger->CountAppenders(), 0);
    EXPECT_EQ(listener->events, (std::vector<std::string>{"added l one", "added l two", "removed l two",
                                                          "removed l one", "added l two"}));
    hierarchy.RemoveHierarchyEventListener(listener.get());
    logger->AddAppender(one.get());
    EXPECT_EQ(listener->events.size(), 5u);
}

TEST_F(Hierarchy, ShutdownClosesAndRemovesEveryAppender) {
    LogRef<TRecordingAppender> rootAppender(new TRecordingAppender), loggerAppender(new TRecordingAppender);
    hierarchy.Root()->AddAppender(rootAppender.get());
    hierarchy.GetLogger("x.y")->AddAppender(loggerAppender.get());
    TDebugOutputCapture capture;
    hierarchy.Shutdown();
    EXPECT_EQ(hierarchy.Root()->CountAppenders(), 0);
    EXPECT_EQ(hierarchy.Exists("x.y")->CountAppenders(), 0);
    TLogEvent late(hierarchy.Root(), Error, "late", nullptr, 0);
    rootAppender->Append(&late);
    EXPECT_EQ(Count(capture.Lines(), InternalLine("warn", "Not allowed to write to a closed appender")), 1u);
}

TEST_F(Hierarchy, ResetConfigurationKeepsLoggersAndClearsTheirSettings) {
    TLogLogger* logger = hierarchy.GetLogger("r.s");
    logger->SetLevel(Fatal);
    logger->SetAdditive(false);
    hierarchy.SetThresholdProp(Warn);
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    logger->AddAppender(appender.get());
    hierarchy.ResetConfiguration();
    EXPECT_EQ(hierarchy.Root()->Level(), Debug);
    EXPECT_EQ(hierarchy.Threshold(), All);
    EXPECT_EQ(hierarchy.Exists("r.s"), logger);
    EXPECT_EQ(logger->Level(), Debug);
    EXPECT_TRUE(logger->Additive());
    EXPECT_EQ(logger->CountAppenders(), 0);
}

TEST(HierarchyClear, GivesUpOnlyItsOwnReferences) {
    const long before = LiveObjectCount();
    LogRef<TLogLogger> kept;
    {
        TLogHierarchy hierarchy(new TLogRoot(Debug));
        kept = hierarchy.GetLogger("kept.child");
        hierarchy.GetLogger("dropped");
        hierarchy.Clear();
        TLogStringList names;
        hierarchy.GetCurrentLoggers(names);
        EXPECT_TRUE(names.empty());
        EXPECT_EQ(kept->Name(), "kept.child");  // still alive: someone else holds it
        EXPECT_EQ(kept->Hierarchy(), nullptr);
        EXPECT_EQ(kept->Parent(), nullptr);
        kept->Error("nowhere to go");  // outside any hierarchy: nothing happens
        EXPECT_NE(hierarchy.GetLogger("kept.child"), kept.get());
    }
    EXPECT_EQ(LiveObjectCount(), before + 1);
    kept = nullptr;
    EXPECT_EQ(LiveObjectCount(), before);
}

TEST(DefaultHierarchy, StartsWithRootAtErrorAndTheInternalLoggerOutsideIt) {
    ASSERT_NE(DefaultHierarchy, nullptr);
    ASSERT_NE(LogLog, nullptr);
    ASSERT_NE(DefaultLoggerFactory, nullptr);
    EXPECT_EQ(TLogLogger::GetRootLogger(), DefaultHierarchy->Root());
    EXPECT_EQ(DefaultHierarchy->Root()->Level(), Error);
    EXPECT_EQ(DefaultHierarchy->Threshold(), All);
    EXPECT_EQ(LogLog->Name(), "");
    EXPECT_EQ(LogLog->Hierarchy(), DefaultHierarchy);
    EXPECT_EQ(DefaultHierarchy->Exists(""), nullptr);
    EXPECT_EQ(LogLog->CountAppenders(), 1);
    TLogLogger* byName = TLogLogger::GetLogger("default.one");
    EXPECT_EQ(byName, DefaultHierarchy->Exists("default.one"));
    TLogLogger* byClass = TLogLogger::GetLogger(TLogNullAppender::StaticClass());
    EXPECT_EQ(byClass, DefaultHierarchy->Exists("TLogNullAppender"));
}

TEST(InternalLogger, DebugLinesOnlyWhileInternalDebuggingIsOn) {
    TDebugOutputCapture capture;
    LogLog->Debug("hidden");
    LogLog->SetInternalDebugging(true);
    LogLog->Debug("shown");
    LogLog->SetInternalDebugging(false);
    LogLog->Warn("warned");
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{InternalLine("debug", "shown"), InternalLine("warn", "warned")}));
}

TEST(InternalLoggerDeathTest, WithoutAppendersItDropsItsLines) {
    EXPECT_EXIT(
        {
            LogLog->RemoveAllAppenders();  // its released appender writes its (empty) footer
            TDebugOutputCapture capture;
            LogLog->Error("dropped");
            TLogHierarchy hierarchy(new TLogRoot(Error));
            hierarchy.GetLogger("lonely")->Error("no appender anywhere");
            exit(capture.Lines().empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
