// The library from a host's start to its end, in a process of its own (lifecycle_probe.exe).
#include "LogFiles.h"
#include "Text.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <cstdio>
#include <set>

TEST(Lifecycle, ConfigureLogReconfigureAndEnd)
{
    TTempFolder folder;
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring probe = self;
    probe = probe.substr(0, probe.find_last_of(L'\\') + 1) + L"lifecycle_probe.exe";
    std::wstring command = L"\"" + probe + L"\" \"" + vcl::ToWide(folder.Path()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(probe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    const DWORD waited = WaitForSingleObject(process.hProcess, 240000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 3);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "the probe did not end";
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadFileBytes(folder / "result.txt"), "ok");

    // Every line once, in the first file or the second, and each thread's in order.
    std::set<std::string> seen;
    std::vector<int> next(4, 0);
    size_t inSecond = 0;
    for (const char* file : {"first.log", "second.log"}) {
        const std::string bytes = ReadFileBytes(folder / file);
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
            if (std::string(file) == "second.log") ++inSecond;
        }
    }
    EXPECT_EQ(seen.size(), 4u * 3000u);
    EXPECT_GT(inSecond, 0u);
}
