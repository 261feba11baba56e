// Events per second through a logger, the pattern layout and the file appender, against a plain
// loop that formats the same lines and writes each with WriteFile; then what one event costs in
// each step. The two loops take turns, several rounds, and the figures are the rounds' medians,
// so that a busy machine moves both alike. Not a test: run it with tools/bench-logging.sh.
// Argument: the number of events a round (default 200 000).
#include "HierLog.h"
#include "BenchClock.h"
#include "Text.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace HierLog;

namespace {

constexpr int Rounds = 5;
const char* const Pattern = "%r [%t] %p %c - %m%n";

// Seconds that body takes for the events.
double Timed(int events, const std::function<void(int)>& body) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < events; ++i)
        body(i);
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int FormatLine(char (&line)[128], int i) {
    return std::snprintf(line, sizeof line, "%lu [%lu] info bench.file - event number %d\r\n",
                         static_cast<unsigned long>(GetTickCount()), static_cast<unsigned long>(GetCurrentThreadId()),
                         i);
}

HANDLE NewFile(const std::wstring& path) {
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
}

double PlainLoop(const std::wstring& path, int events) {
    HANDLE file = NewFile(path);
    const double seconds = Timed(events, [file](int i) {
        char line[128];
        const int length = FormatLine(line, i);
        DWORD written = 0;
        WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    });
    CloseHandle(file);
    return seconds;
}

// A hierarchy whose root, at level info, writes with the pattern layout through the appender.
struct Library {
    explicit Library(ILogAppender* appender) : hierarchy(new TLogRoot(Info)), appender(appender) {
        hierarchy.Root()->AddAppender(appender);
        logger = hierarchy.GetLogger("bench.file");
    }
    TLogHierarchy hierarchy;
    LogRef<ILogAppender> appender;
    TLogLogger* logger;
};

double ThroughTheLibrary(ILogAppender* appender, int events) {
    Library library(appender);
    return Timed(events, [&library](int i) { library.logger->Info("event number " + std::to_string(i)); });
}

double FileAppenderLoop(const std::string& path, int events) {
    return ThroughTheLibrary(new TLogFileAppender("bench", path, TLogPatternLayout::Create(Pattern), false), events);
}

// Writes the line from depth nested calls, as the library writes from inside its own.
__attribute__((noinline)) void WriteFrom(int depth, HANDLE file, const std::string& line) {
    if (depth > 0) {
        WriteFrom(depth - 1, file, line);
    } else {
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    asm volatile("" ::: "memory");  // no tail call
}

// Nanoseconds an event for each step, each measured on its own.
struct Step {
    const char* what;
    std::function<double(int)> seconds;
};

double WriteFromDepth(const std::wstring& path, int depth, int events) {
    HANDLE file = NewFile(path);
    const std::string line = "1234 [56] info bench.file - event number 100000\r\n";
    const double seconds = Timed(events, [&](int) { WriteFrom(depth, file, line); });
    CloseHandle(file);
    return seconds;
}

std::vector<Step> Steps(const std::wstring& writePath) {
    return {
        {"caller's message text (\"event number \" + number)",
         [](int events) {
             size_t sum = 0;
             const double s = Timed(events, [&sum](int i) { sum += ("event number " + std::to_string(i)).size(); });
             return sum ? s : 0;
         }},
        {"logger lookup by name (GetLogger)",
         [](int events) {
             Library library(new TLogNullAppender("null", TLogPatternLayout::Create(Pattern)));
             return Timed(events, [&library](int) { library.hierarchy.GetLogger("bench.file"); });
         }},
        {"level check of a request below the level",
         [](int events) {
             Library library(new TLogNullAppender("null", TLogPatternLayout::Create(Pattern)));
             const std::string message = "event number 100000";
             return Timed(events, [&library, &message](int) { library.logger->Debug(message); });
         }},
        {"lock and unlock (one critical section)",
         [](int events) {
             TLogLock lock;
             return Timed(events, [&lock](int) {
                 lock.Enter();
                 lock.Leave();
             });
         }},
        {"event, three loggers' locks, appender checks (empty layout)",
         [](int events) {
             Library library(new TLogNullAppender("null", TLogPatternLayout::Create()));
             const std::string message = "event number 100000";
             return Timed(events, [&library, &message](int) { library.logger->Info(message); });
         }},
        {"the event's time stamp (the clock)",
         [](int events) {
             double sum = 0;
             const double s = Timed(events, [&sum](int) { sum += Now(); });
             return sum ? s : 0;
         }},
        {"pattern layout formatting of one event into the appender's kept buffer",
         [](int events) {
             Library library(new TLogNullAppender("null", nullptr));
             LogRef<ILogLayout> layout = TLogPatternLayout::Create(Pattern);
             TLogEvent event(library.logger, Info, "event number 100000", nullptr, 0);
             std::string text;
             size_t sum = 0;
             const double s = Timed(events, [&](int) {
                 text.clear();
                 FormatEventInto(layout.get(), &event, text);
                 sum += text.size();
             });
             return sum ? s : 0;
         }},
        {"all but the write (null appender, the pattern)",
         [](int events) {
             Library library(new TLogNullAppender("null", TLogPatternLayout::Create(Pattern)));
             const std::string message = "event number 100000";
             return Timed(events, [&library, &message](int) { library.logger->Info(message); });
         }},
        {"the write (WriteFile of a 50-byte line)",
         [writePath](int events) { return WriteFromDepth(writePath, 0, events); }},
        {"the same write from 7 nested calls, as the library's",
         [writePath](int events) { return WriteFromDepth(writePath, 7, events); }},
        {"the peer's line formatting (snprintf)",
         [](int events) {
             size_t sum = 0;
             const double s = Timed(events, [&sum](int i) {
                 char line[128];
                 sum += FormatLine(line, i);
             });
             return sum ? s : 0;
         }},
    };
}

}  // namespace

int main(int argc, char** argv) {
    const int events = argc > 1 ? std::atoi(argv[1]) : 200000;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring plainPath = std::wstring(temp) + L"vorsalt-bench-plain.log";
    const std::wstring libraryPath = std::wstring(temp) + L"vorsalt-bench-library.log";
    std::vector<double> plain, library, ratio;
    for (int round = 0; round < Rounds; ++round) {
        plain.push_back(PlainLoop(plainPath, events));
        library.push_back(FileAppenderLoop(vcl::ToAnsi(libraryPath), events));
        ratio.push_back(plain.back() / library.back());
    }
    std::printf("events: %d a round, %d rounds, medians\n", events, Rounds);
    std::printf("plain WriteFile loop: %.0f events/s (%.0f ns an event)\n", events / Median(plain),
                Median(plain) / events * 1e9);
    std::printf("logger + pattern layout + file appender: %.0f events/s (%.0f ns an event)\n", events / Median(library),
                Median(library) / events * 1e9);
    std::printf("library / plain: %.2f (rounds:", Median(ratio));
    for (double r : ratio)
        std::printf(" %.2f", r);
    std::printf(")\n");
    std::printf("one event, step by step (ns):\n");
    for (const Step& step : Steps(plainPath)) {
        std::vector<double> times;
        for (int round = 0; round < Rounds; ++round)
            times.push_back(step.seconds(events));
        std::printf("  %6.0f  %s\n", Median(times) / events * 1e9, step.what);
    }
    DeleteFileW(plainPath.c_str());
    DeleteFileW(libraryPath.c_str());
    return 0;
}
