// What a second thread finds: the event's context of the thread that reads it, and loggers that a
// layout's exception on the first thread left unlocked.
#include "HierLog.h"
#include "RecordingAppender.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <thread>

using namespace HierLog;

TEST(Events, ContextAndThreadAreTheReadingThreads) {
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    TLogLogger* logger = hierarchy.GetLogger("events.reader");
    TLogNDC::Push("main");
    TLogEvent event(logger, Info, "m", nullptr, 0);
    EXPECT_EQ(event.LoggerName(), "events.reader");
    EXPECT_EQ(event.NDC(), "main");
    EXPECT_EQ(event.ThreadId(), static_cast<int>(GetCurrentThreadId()));
    std::string otherContext = "unset";
    int otherThread = 0;
    std::thread([&] {
        otherContext = event.NDC();
        otherThread = event.ThreadId();
    }).join();
    EXPECT_EQ(otherContext, "");
    EXPECT_NE(otherThread, static_cast<int>(GetCurrentThreadId()));
    TLogNDC::Remove();
}

TEST(Appenders, ExceptionFromTheLayoutReachesTheCallerAndReleasesTheLocks) {
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    LogRef<TRecordingAppender> appender(new TRecordingAppender("bad", TLogPatternLayout::Create("%5.q")));
    TLogLogger* logger = hierarchy.GetLogger("throws");
    logger->AddAppender(appender.get());
    EXPECT_ANY_THROW(logger->Info("x"));
    // Another thread can still log: no lock was left behind.
    appender->SetLayout(TLogSimpleLayout::Create());
    std::thread([&] { logger->Info("after"); }).join();
    EXPECT_EQ(appender->Texts(), std::vector<std::string>{"info - after\r\n"});
}
