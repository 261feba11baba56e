// Events per second through a logger, the pattern layout and the file appender, against a plain
// loop that formats the same lines and writes each with WriteFile. Not a test: run it with
// tools/bench-logging.sh. Argument: the number of events (default 200 000).
#include "HierLog.h"
#include "BenchClock.h"
#include "Text.h"
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace HierLog;

namespace {

double PlainLoop(const std::wstring& path, int events) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const DWORD thread = GetCurrentThreadId();
    for (int i = 0; i < events; ++i) {
        char line[128];
        const int length = std::snprintf(line, sizeof line, "%lu [%lu] info bench.file - event number %d\r\n",
                                         static_cast<unsigned long>(GetTickCount()), static_cast<unsigned long>(thread),
                                         i);
        DWORD written = 0;
        WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    }
    QueryPerformanceCounter(&end);
    CloseHandle(file);
    return Seconds(start, end);
}

double ThroughTheLibrary(const std::string& path, int events) {
    TLogHierarchy hierarchy(new TLogRoot(Info));
    LogRef<ILogAppender> appender(
        new TLogFileAppender("bench", path, TLogPatternLayout::Create("%r [%t] %p %c - %m%n"), false));
    hierarchy.Root()->AddAppender(appender.get());
    TLogLogger* logger = hierarchy.GetLogger("bench.file");
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < events; ++i)
        logger->Info("event number " + std::to_string(i));
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

}  // namespace

int main(int argc, char** argv) {
    const int events = argc > 1 ? std::atoi(argv[1]) : 200000;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring plainPath = std::wstring(temp) + L"vorsalt-bench-plain.log";
    const std::wstring libraryPath = std::wstring(temp) + L"vorsalt-bench-library.log";
    const double plain = PlainLoop(plainPath, events);
    const double library = ThroughTheLibrary(vcl::ToAnsi(libraryPath), events);
    std::printf("events: %d\n", events);
    std::printf("plain WriteFile loop: %.0f events/s\n", events / plain);
    std::printf("logger + pattern layout + file appender: %.0f events/s\n", events / library);
    std::printf("library / plain: %.2f\n", plain / library);
    DeleteFileW(plainPath.c_str());
    DeleteFileW(libraryPath.c_str());
    return 0;
}
