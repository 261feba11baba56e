// Milliseconds per event for the pattern layout "%d %-10.3d|%m" with date formats of 1 000,
// 10 000 and 100 000 characters: random text of the base64 alphabet, the format items in turn,
// and one letter repeated; then for patterns of 1, 100 and 10 000 "%d" with the locale's date
// format. Not a test: run it with tools/bench-date-format.sh. Arguments: the format lengths
// (default 1000 10000 100000).
#include "HierLog.h"
#include "BenchClock.h"
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace HierLog;

namespace {

std::string RandomBase64(size_t length) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::mt19937 random(31);
    std::string text;
    for (size_t k = 0; k < length; ++k)
        text += alphabet[random() % 64];
    return text;
}

std::string ItemsInTurn(size_t length) {
    static const std::string items =
        "d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz t tt c am/pm a/p ampm / : 'q' \"q\" ";
    std::string text;
    while (text.size() < length)
        text += items;
    return text.substr(0, length);
}

std::string OneLetter(size_t length) {
    return std::string(length, 'h');
}

// Formats one event until half a second has passed; gives the milliseconds per event.
double MsPerEvent(const std::string& pattern, const std::string& dateFormat) {
    LogRef<TLogPatternLayout> layout(TLogPatternLayout::Create(pattern));
    layout->SetOption("dateFormat", dateFormat);
    TLogHierarchy hierarchy(new TLogRoot(Info));
    TLogEvent event(hierarchy.GetLogger("bench.date"), Info, "message", nullptr, 0);
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    int events = 0;
    do {
        layout->Format(&event);
        ++events;
        QueryPerformanceCounter(&now);
    } while (Seconds(start, now) < 0.5);
    return Seconds(start, now) * 1000 / events;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<size_t> lengths;
    for (int k = 1; k < argc; ++k)
        lengths.push_back(std::strtoul(argv[k], nullptr, 10));
    if (lengths.empty())
        lengths = {1000, 10000, 100000};
    const struct {
        const char* name;
        std::string (*make)(size_t);
    } kinds[] = {{"random base64", RandomBase64}, {"items in turn", ItemsInTurn}, {"one letter (h)", OneLetter}};
    std::printf("%-16s %10s %14s\n", "date format", "characters", "ms per event");
    for (const auto& kind : kinds)
        for (size_t length : lengths) {
            std::printf("%-16s %10u %14.3f\n", kind.name, static_cast<unsigned>(length),
                        MsPerEvent("%d %-10.3d|%m", kind.make(length)));
            std::fflush(stdout);
        }
    std::printf("\n%-16s %10s %14s\n", "pattern", "%d count", "ms per event");
    for (int count : {1, 100, 10000}) {
        std::string pattern;
        for (int k = 0; k < count; ++k)
            pattern += "%d";
        std::printf("%-16s %10d %14.3f\n", "%d repeated", count, MsPerEvent(pattern, ""));
        std::fflush(stdout);
    }
    return 0;
}
