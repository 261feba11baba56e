// The appender base and the null and debug-output writers, judged by the debugger output.
#include "DebugOutputCapture.h"
#include "HierLog.h"
#include "RecordingAppender.h"
#include <gtest/gtest.h>
#include <algorithm>

using namespace HierLog;

TEST(Appenders, DebugOutputEndToEnd) {
    TLogHierarchy hierarchy(new TLogRoot(Info));
    LogRef<ILogAppender> ods(new TLogODSAppender("ods", nullptr));
    hierarchy.Root()->AddAppender(ods.get());
    TDebugOutputCapture capture(TCaptureAt::Exceptions);
    TLogLogger* logger = hierarchy.GetLogger("app.part");
    logger->Info("hello");
    logger->Debug("below");
    logger->Error("Привет, мир");
    ods->Close();
    EXPECT_EQ(capture.Lines(), (std::vector<std::string>{"info - hello\r\n", "error - Привет, мир\r\n", ""}));
}

TEST(Appenders, NullAppenderWritesNothing) {
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    LogRef<ILogAppender> null(new TLogNullAppender("null", nullptr));
    hierarchy.Root()->AddAppender(null.get());
    TDebugOutputCapture capture;
    hierarchy.GetLogger("n")->Fatal("gone");
    null->Close();
    EXPECT_TRUE(capture.Lines().empty());
    EXPECT_EQ(null->GetName(), "null");
    EXPECT_TRUE(null->GetLayout());
}

TEST(Appenders, ThresholdComesBeforeTheFilters) {
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    appender->SetOption("threshold", "warn");
    appender->AddFilter(LogRef<ILogFilter>(new TLogLevelMatchFilter(Info, true)).get());
    const struct {
        TLogLevel* level;
        bool written;
    } table[] = {{Debug, false}, {Info, false}, {Warn, true}, {Fatal, true}};
    for (const auto& row : table) {
        appender->Forget();
        TLogEvent event(nullptr, row.level, "m", nullptr, 0);
        appender->Append(&event);
        EXPECT_EQ(appender->Texts().size(), row.written ? 1u : 0u) << row.level->Name();
    }
    const struct {
        const char* value;
        TLogLevel* threshold;
    } options[] = {{"error", Error}, {"ERROR", All}, {"off", Off}, {"", Off}, {"nothing", All}};
    for (const auto& row : options) {
        appender->SetOption("threshold", row.value);  // an empty value changes nothing
        EXPECT_EQ(appender->Threshold(), row.threshold) << row.value;
    }
    appender->SetOption("threshold", "off");
    EXPECT_TRUE(appender->isAsSevereAsThreshold(Off));
    EXPECT_FALSE(appender->isAsSevereAsThreshold(Fatal));
}

TEST(Appenders, ClosedAppenderWarnsOnEveryAttempt) {
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    appender->Close();
    appender->Close();  // the footer once
    EXPECT_EQ(appender->Texts(), std::vector<std::string>{""});
    TDebugOutputCapture capture;
    TLogEvent event(nullptr, Info, "m", nullptr, 0);
    appender->Append(&event);
    appender->Append(&event);
    EXPECT_EQ(Count(capture.Lines(), InternalLine("warn", "Not allowed to write to a closed appender")), 2u);
    EXPECT_EQ(appender->Texts().size(), 1u);
}

TEST(Appenders, ReleasedAppenderClosesItself) {
    TDebugOutputCapture capture;
    const long before = LiveObjectCount();
    { LogRef<ILogAppender> ods(new TLogODSAppender("ods", TLogHTMLLayout::Create())); }
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{"</table>\r\n</body>\r\n</html>\r\n"});
    EXPECT_EQ(LiveObjectCount(), before);
}

TEST(Appenders, BareAppenderHasNoLayoutAndTheDefaults) {
    TObject* made = TLogODSAppender::StaticClass()->NewBare();
    LogRef<ILogAppender> appender;
    void* found = nullptr;
    ASSERT_TRUE(made->GetInterface(ILogAppender::Id, &found));
    appender.Adopt(static_cast<ILogAppender*>(found));
    appender->Init();
    EXPECT_FALSE(appender->GetLayout());
    EXPECT_TRUE(appender->GetErrorHandler());
    EXPECT_TRUE(appender->RequiresLayout());
    EXPECT_EQ(appender->GetName(), "");
    appender->SetOption("anything", "kept");
    EXPECT_EQ(appender->GetOption("ANYTHING"), "kept");
    appender->SetOption("anything", "");
    EXPECT_EQ(appender->GetOption("anything"), "");
}
