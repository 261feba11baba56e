// Eight threads at once: logging, making loggers of the same names, changing levels and pushing
// and popping their contexts. Every event arrives once, nothing deadlocks, one logger per name.
#include "ConcurrentRun.h"
#include "HierLog.h"
#include "RecordingAppender.h"
#include <gtest/gtest.h>
#include <atomic>
#include <map>
#include <set>

using namespace HierLog;

namespace {
constexpr int Threads = 8;
constexpr int EventsPerThread = 2000;
constexpr int SharedNames = 40;
}  // namespace

TEST(Concurrency, LoggingWhileLoggersLevelsAndContextsChange) {
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    LogRef<TRecordingAppender> root(new TRecordingAppender("root", TLogPatternLayout::Create("%x;%m")));
    LogRef<TRecordingAppender> middle(new TRecordingAppender("middle", TLogPatternLayout::Create("%m")));
    hierarchy.Root()->AddAppender(root.get());
    hierarchy.GetLogger("c.shared")->AddAppender(middle.get());
    std::vector<std::vector<TLogLogger*>> seen(Threads, std::vector<TLogLogger*>(SharedNames));

    RunConcurrently(Threads, [&](int t) {
        for (int i = 0; i < EventsPerThread; ++i) {
            TLogLogger* logger = hierarchy.GetLogger("c.shared.n" + std::to_string(i % SharedNames));
            seen[t][i % SharedNames] = logger;
            if (i % 7 == 0)
                logger->SetLevel(i % 2 ? Debug : Info);  // both let warn through
            if (i % 5 == 0)
                hierarchy.GetLogger("c.shared")->SetLevel(i % 3 ? nullptr : Info);
            TLogNDC::Push("t" + std::to_string(t));
            logger->Warn(std::to_string(t) + ":" + std::to_string(i));
            if (TLogNDC::Pop() != "t" + std::to_string(t))
                ADD_FAILURE() << "context of another thread";
        }
        TLogNDC::Remove();
    });

    for (auto* appender : {root.get(), middle.get()}) {
        std::set<std::string> unique;
        const auto texts = appender->Texts();
        for (const std::string& text : texts) {
            const std::string message = text.substr(text.find(';') + 1);
            EXPECT_TRUE(unique.insert(message).second) << "doubled " << message;
            if (appender == root.get()) {
                EXPECT_EQ(text.substr(0, text.find(';')), "t" + message.substr(0, message.find(':')));
            }
        }
        EXPECT_EQ(texts.size(), static_cast<size_t>(Threads * EventsPerThread)) << appender->GetName();
    }
    for (int n = 0; n < SharedNames; ++n)
        for (int t = 1; t < Threads; ++t)
            EXPECT_EQ(seen[t][n], seen[0][n]) << n;
    TLogStringList names;
    hierarchy.GetCurrentLoggers(names);
    EXPECT_EQ(names.size(), static_cast<size_t>(SharedNames + 2));
}

TEST(Concurrency, AppendersAddedAndRemovedWhileOthersLog) {
    TLogHierarchy hierarchy(new TLogRoot(Debug));
    LogRef<TRecordingAppender> steady(new TRecordingAppender("steady"));
    TLogLogger* logger = hierarchy.GetLogger("busy");
    logger->AddAppender(steady.get());
    std::atomic<int> logged{0};
    RunConcurrently(Threads, [&](int t) {
        LogRef<TRecordingAppender> mine(new TRecordingAppender("t" + std::to_string(t)));
        for (int i = 0; i < EventsPerThread; ++i) {
            if (t % 2) {
                logger->AddAppender(mine.get());
                logger->RemoveAppender(mine.get());
            } else {
                logger->Info("x");
                ++logged;
            }
        }
    });
    EXPECT_EQ(steady->Texts().size(), static_cast<size_t>(logged.load()));
    EXPECT_EQ(logger->CountAppenders(), 1);
}
