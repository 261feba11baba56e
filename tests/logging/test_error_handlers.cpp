// Error handlers: the once-only report, the fallback swap, and the appender's missing layout.
#include "DebugOutputCapture.h"
#include "HierLog.h"
#include "RecordingAppender.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <stdexcept>

using namespace HierLog;

TEST(OnlyOnceErrorHandler, ReportsTheFirstErrorOnly) {
    TDebugOutputCapture capture;
    LogRef<TLogOnlyOnceErrorHandler> handler = Initialised<TLogOnlyOnceErrorHandler>();
    const std::runtime_error diskFull("disk full");
    handler->Error("write failed", &diskFull, 5, nullptr);
    handler->Error("second");
    handler->Error("third", &diskFull, 6, nullptr);
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{InternalLine("error", "write failed - (5) disk full")});
}

TEST(OnlyOnceErrorHandler, NullExceptionGivesAnEmptyMessage) {
    TDebugOutputCapture capture;
    LogRef<TLogOnlyOnceErrorHandler> handler = Initialised<TLogOnlyOnceErrorHandler>();
    handler->Error("write failed", nullptr, -1, nullptr);
    EXPECT_EQ(capture.Lines(), std::vector<std::string>{InternalLine("error", "write failed - (-1) ")});
}

TEST(OnlyOnceErrorHandler, AppenderWithoutLayoutComplainsOnce) {
    TDebugOutputCapture capture;
    LogRef<TRecordingAppender> appender(new TRecordingAppender("bare"));
    appender->SetLayout(nullptr);
    TLogEvent event(nullptr, Info, "m", nullptr, 0);
    for (int i = 0; i < 3; ++i)
        appender->Append(&event);
    EXPECT_TRUE(appender->Texts().empty());
    EXPECT_EQ(capture.Lines(),
              std::vector<std::string>{InternalLine("error", "No layout set for appender named \"bare\"")});
}

TEST(ErrorHandlers, NullAppenderAndBackupAreRefused) {
    TDebugOutputCapture capture;
    LogRef<TLogFallbackErrorHandler> handler = Initialised<TLogFallbackErrorHandler>();
    handler->SetAppender(nullptr);
    handler->SetBackupAppender(nullptr);
    LogRef<TRecordingAppender> appender(new TRecordingAppender);
    appender->SetErrorHandler(nullptr);
    EXPECT_TRUE(appender->GetErrorHandler());
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::string>{InternalLine("warn", "Ignoring a nil appender in error handler"),
                                        InternalLine("warn", "Ignoring a nil backup appender in error handler"),
                                        InternalLine("warn", "An appender cannot have a nil error handler")}));
}

TEST(FallbackErrorHandler, SwapsTheAppenderForTheBackupInEachLogger) {
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    TLogLogger* first = hierarchy.GetLogger("first");
    TLogLogger* second = hierarchy.GetLogger("second");
    LogRef<TRecordingAppender> failing(new TRecordingAppender("failing")), backup(new TRecordingAppender("backup"));
    first->AddAppender(failing.get());
    second->AddAppender(failing.get());
    LogRef<TLogFallbackErrorHandler> handler = Initialised<TLogFallbackErrorHandler>();
    handler->SetAppender(failing.get());
    handler->SetBackupAppender(backup.get());
    handler->SetLogger(first);
    handler->SetLogger(second);
    handler->SetLogger(first);  // once per logger

    LogLog->SetInternalDebugging(true);
    TDebugOutputCapture capture;
    handler->Error("broken");
    handler->Error("again");  // the appender is gone already and the backup present: no change
    LogLog->SetInternalDebugging(false);
    for (TLogLogger* logger : {first, second}) {
        EXPECT_FALSE(logger->IsAppender(failing.get())) << logger->Name();
        EXPECT_TRUE(logger->IsAppender(backup.get())) << logger->Name();
        EXPECT_EQ(logger->CountAppenders(), 1) << logger->Name();
    }
    const auto lines = capture.Lines();
    EXPECT_EQ(Count(lines, InternalLine("debug", "Fallback on error broken")), 1u);
    EXPECT_EQ(Count(lines, InternalLine("debug", "Fallback replacing \"failing\" with \"backup\" in logger \"first\"")),
              2u);
    EXPECT_EQ(
        Count(lines, InternalLine("debug", "Fallback replacing \"failing\" with \"backup\" in logger \"second\"")), 2u);
}

TEST(FallbackErrorHandler, WithoutAppenderOrBackupItWarnsAndChangesNothing) {
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    TLogLogger* logger = hierarchy.GetLogger("unset");
    LogRef<TRecordingAppender> appender(new TRecordingAppender("kept"));
    logger->AddAppender(appender.get());
    LogRef<TLogFallbackErrorHandler> handler = Initialised<TLogFallbackErrorHandler>();
    handler->SetLogger(logger);
    handler->SetAppender(appender.get());
    TDebugOutputCapture capture;
    handler->Error("broken");
    EXPECT_TRUE(logger->IsAppender(appender.get()));
    EXPECT_EQ(capture.Lines(),
              std::vector<std::string>{
                  InternalLine("warn", "Fallback error handler has no appender or no backup appender to swap")});
}

TEST(FallbackErrorHandler, SwapFromInsideTheLoggingCall) {
    // The appender fails while its logger is logging; the handler changes that logger's list.
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    TLogLogger* logger = hierarchy.GetLogger("inside");
    LogRef<TRecordingAppender> failing(new TRecordingAppender("failing")), backup(new TRecordingAppender("backup"));
    failing->SetLayout(nullptr);
    LogRef<TLogFallbackErrorHandler> handler = Initialised<TLogFallbackErrorHandler>();
    handler->SetAppender(failing.get());
    handler->SetBackupAppender(backup.get());
    handler->SetLogger(logger);
    failing->SetErrorHandler(handler.get());
    logger->AddAppender(failing.get());
    logger->Info("first");
    logger->Info("second");
    EXPECT_FALSE(logger->IsAppender(failing.get()));
    EXPECT_EQ(backup->Texts(), (std::vector<std::string>{"info - second\r\n"}));
    failing->SetErrorHandler(Initialised<TLogOnlyOnceErrorHandler>().get());  // no cycle left behind
}
