// Eight threads write 5 000 lines each into one rolling file of 64 KB: afterwards every line is
// there exactly once across the live file and its backups, whole, and each thread's lines keep
// their order from the oldest backup to the live file.
#include "ConcurrentRun.h"
#include "HierLog.h"
#include "LogFiles.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <sstream>

using namespace HierLog;

namespace {
constexpr int Threads = 8;
constexpr int LinesPerThread = 5000;
constexpr int MaxBackups = 200;
const std::string Padding(40, '.');

std::string Line(int thread, int number) {
    char text[32];
    std::snprintf(text, sizeof text, "T%d %06d ", thread, number);
    return text + Padding;
}
}  // namespace

TEST(RollingFileStress, EveryLineOnceWholeAndInOrder) {
    TAnsiTempFolder folder;
    const std::string name = folder / "stress.log";
    {
        TLogHierarchy hierarchy(new TLogRoot(Debug));
        LogRef<TLogRollingFileAppender> appender(
            new TLogRollingFileAppender("roll", "", TLogPatternLayout::Create("%m%n"), false));
        appender->SetOption("maxFileSize", "64KB");
        appender->SetOption("maxBackupIndex", std::to_string(MaxBackups));
        appender->SetOption("fileName", name);
        hierarchy.Root()->AddAppender(appender.get());
        RunConcurrently(Threads, [&](int t) {
            TLogLogger* logger = hierarchy.GetLogger("stress.t" + std::to_string(t));
            for (int i = 0; i < LinesPerThread; ++i)
                logger->Info(Line(t, i));
        });
    }
    std::vector<std::string> files;
    for (int i = MaxBackups; i >= 1; --i)
        if (FileExists(name + "." + std::to_string(i)))
            files.push_back(name + "." + std::to_string(i));
    files.push_back(name);
    EXPECT_GT(files.size(), 20u);
    EXPECT_FALSE(FileExists(name + "." + std::to_string(MaxBackups)));  // nothing was dropped

    std::vector<int> next(Threads, 0);
    size_t lines = 0;
    for (const std::string& file : files) {
        const std::string bytes = FileBytes(file);
        EXPECT_LE(bytes.size(), 64u * 1024u + 60u) << file;
        size_t start = 0;
        while (start < bytes.size()) {
            const size_t end = bytes.find("\r\n", start);
            ASSERT_NE(end, std::string::npos) << "torn end of " << file;
            const std::string line = bytes.substr(start, end - start);
            start = end + 2;
            int thread = -1, number = -1;
            ASSERT_EQ(std::sscanf(line.c_str(), "T%d %d", &thread, &number), 2) << line;
            ASSERT_TRUE(thread >= 0 && thread < Threads) << line;
            ASSERT_EQ(line, Line(thread, number)) << "torn line in " << file;
            ASSERT_EQ(number, next[thread]) << "thread " << thread << " in " << file;
            ++next[thread];
            ++lines;
        }
    }
    EXPECT_EQ(lines, static_cast<size_t>(Threads * LinesPerThread));
    for (int t = 0; t < Threads; ++t)
        EXPECT_EQ(next[t], LinesPerThread) << t;
}
