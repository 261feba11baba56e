// The parser on several threads at once.
#include "TreeText.h"
#include <gtest/gtest.h>
#include <thread>
#include <vector>

TEST(ParseText, RunsOnSeveralThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::vector<std::string> results(8);
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([t, &results] {
            for (int i = 0; i < 200; ++i)
                results[t] = Parsed(L"{\"n\":[" + std::to_wstring(t) + L",\"x\"]}");
        });
    for (auto& thread : threads)
        thread.join();
    for (int t = 0; t < 8; ++t)
        EXPECT_EQ(results[t], "{\"n\"=[" + DescribeNumber(t) + " S\"x\"]}");
}
