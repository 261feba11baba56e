// The library from a host's start to its end, in a process of its own (lifecycle_probe.exe).
#include "ChildProcess.h"
#include "LogFiles.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <set>

TEST(Lifecycle, ConfigureLogReconfigureAndEnd) {
    TAnsiTempFolder folder;
    EXPECT_EQ(OutputOf("lifecycle_probe.exe \"" + folder.Path() + "\"", 240000), "ok\r\n");

    // Every line once, in the first file or the second, and each thread's in order.
    std::set<std::string> seen;
    std::vector<int> next(4, 0);
    size_t inSecond = 0;
    for (const char* file : {"first.log", "second.log"}) {
        const std::string bytes = FileBytes(folder / file);
        for (size_t start = 0; start < bytes.size();) {
            const size_t end = bytes.find("\r\n", start);
            ASSERT_NE(end, std::string::npos);
            const std::string line = bytes.substr(start, end - start);
            start = end + 2;
            int thread = -1, number = -1;
            ASSERT_EQ(std::sscanf(line.c_str(), "T%d %d", &thread, &number), 2) << line;
            ASSERT_TRUE(thread >= 0 && thread < 4) << line;
            EXPECT_TRUE(seen.insert(line).second) << "doubled " << line;
            EXPECT_EQ(number, next[thread]) << line;
            next[thread] = number + 1;
            if (std::string(file) == "second.log")
                ++inSecond;
        }
    }
    EXPECT_EQ(seen.size(), 4u * 3000u);
    EXPECT_GT(inSecond, 0u);
}

TEST(Lifecycle, EveryLineIsInTheFileWhenTheProcessEndsWithNothingTornDown) {
    TAnsiTempFolder folder;
    EXPECT_EQ(OutputOf("lifecycle_probe.exe \"" + folder.Path() + "\" end-at-once", 60000), "logged\r\n");
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "L%06d\r\n", i);
        expected += line;
    }
    EXPECT_EQ(FileBytes(folder / "at-once.log"), expected);
}
