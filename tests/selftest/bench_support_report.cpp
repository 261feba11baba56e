// How long the support report takes to build on this prefix: the first report of the process
// (libraries and providers loaded then), and the fastest, median and slowest of the reports after
// it. Not a test: run it with tools/bench.sh bench_support_report [REPORTS]; REPORTS is the number
// of reports after the first (default 20).
#include "SupportReport.h"
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

double TimedReport(size_t& length) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    length = BuildSupportReport("  Row[Connect80]: Успешно\r\n").size();
    QueryPerformanceCounter(&end);
    return Milliseconds(start, end);
}

}  // namespace

int main(int argc, char** argv) {
    const int reports = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    size_t length = 0;
    const double first = TimedReport(length);
    std::vector<double> times;
    for (int i = 0; i < reports; ++i)
        times.push_back(TimedReport(length));
    std::sort(times.begin(), times.end());
    std::printf("support report of %u bytes\n", static_cast<unsigned>(length));
    std::printf("first report:   %8.1f ms\n", first);
    std::printf("next %d: fastest %.1f ms, median %.1f ms, slowest %.1f ms\n", reports, times.front(),
                times[times.size() / 2], times.back());
    return 0;
}
