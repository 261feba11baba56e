// A host program's whole life with the library: it configures, logs from four threads,
// configures again (another file) while they log, and ends. After the library's end a logger it
// still holds logs nothing; then it counts the library's objects left and prints its verdict:
// "ok", or what was left. The log files go into the folder given as the argument. With the
// second argument "end-at-once" it logs AtOnceLines lines into at-once.log, prints "logged" and
// ends its process there, with nothing torn down: no static object, no library end.
#include "HierLog.h"
#include <windows.h>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

using namespace HierLog;

namespace {

constexpr int Threads = 4;
constexpr int LinesPerThread = 3000;
constexpr int AtOnceLines = 1000;
char folder[MAX_PATH];  // plain storage: it outlasts every static object

TLogStringList Configuration(const std::string& file) {
    return {"hierlog.rootLogger=INFO,FILE", "hierlog.appender.FILE=TLogFileAppender",
            "hierlog.appender.FILE.fileName=" + std::string(folder) + "\\" + file,
            "hierlog.appender.FILE.layout=TLogPatternLayout", "hierlog.appender.FILE.layout.pattern=%m%n"};
}

// Made before the library starts, so it goes after the library has ended.
struct AfterTheEnd {
    LogRef<TLogLogger> held;
    ~AfterTheEnd() {
        if (!folder[0])
            return;
        held->Error("after the end");  // does nothing
        held->AssertLog(false, "after the end");
        const long withHeld = LiveObjectCount();
        held = nullptr;
        const long left = LiveObjectCount();
        const std::string verdict = withHeld == 1 && left == 0
                                        ? "ok"
                                        : "left: " + std::to_string(withHeld) + " " + std::to_string(left);
        std::printf("%s\n", verdict.c_str());
        std::fflush(stdout);
    }
};
AfterTheEnd afterTheEnd __attribute__((init_priority(150)));

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    lstrcpynA(folder, argv[1], MAX_PATH);
    if (argc > 2 && std::string(argv[2]) == "end-at-once") {
        TLogPropertyConfigurator::Configure(Configuration("at-once.log"));
        TLogLogger* logger = TLogLogger::GetLogger("lifecycle.at-once");
        for (int i = 0; i < AtOnceLines; ++i) {
            char line[32];
            std::snprintf(line, sizeof line, "L%06d", i);
            logger->Info(line);
        }
        std::printf("logged\n");
        std::fflush(stdout);
        TerminateProcess(GetCurrentProcess(), 0);
    }
    TLogPropertyConfigurator::Configure(Configuration("first.log"));
    afterTheEnd.held = TLogLogger::GetLogger("lifecycle.held");
    std::atomic<int> logged{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([t, &logged] {
            TLogLogger* logger = TLogLogger::GetLogger("lifecycle.t" + std::to_string(t));
            for (int i = 0; i < LinesPerThread; ++i) {
                char line[32];
                std::snprintf(line, sizeof line, "T%d %06d", t, i);
                logger->Info(line);
                ++logged;
            }
        });
    }
    while (logged < Threads * LinesPerThread / 3)
        Sleep(1);
    TLogPropertyConfigurator::Configure(Configuration("second.log"));
    for (auto& thread : threads)
        thread.join();
    return 0;
}
