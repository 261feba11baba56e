// The window logger against a viewer window of the test's own (class "LOGGER_CLASS", title
// "Form_") on a thread with its own message loop, and the switch in the real registry.
#include "LogViewer_helper.h"
#include "DebugOutputCapture.h"
#include "RegistryFixture.h"
#include "SafeVector.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Received {
    ULONG_PTR identifier;
    DWORD bytes;
    std::wstring text;  // up to the NUL the message must end with
    bool terminated;
};

std::mutex receivedLock;
std::vector<Received> received;

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const auto* chars = static_cast<const wchar_t*>(data->lpData);
            const size_t units = data->cbData / sizeof(wchar_t);
            Received r{data->dwData, data->cbData, std::wstring(), units > 0 && chars[units - 1] == L'\0'};
            if (units > 0)
                r.text.assign(chars, units - 1);
            std::lock_guard<std::mutex> guard(receivedLock);
            received.push_back(r);
            return TRUE;
        }
        if (message == WM_DESTROY) {
            PostQuitMessage(0);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

// The log viewer: a window of the looked-for class and title, served by a thread of its own.
class CViewer {
public:
    CViewer() {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        loop = std::thread([this, ready] { Run(ready); });
        WaitForSingleObject(ready, 10000);
        CloseHandle(ready);
    }
    ~CViewer() {
        if (window)
            PostMessageW(window, WM_CLOSE, 0, 0);
        loop.join();
    }
    CViewer(const CViewer&) = delete;
    CViewer& operator=(const CViewer&) = delete;

    bool Exists() const { return window != nullptr; }

private:
    void Run(HANDLE ready) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ViewerProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"LOGGER_CLASS";
        RegisterClassW(&windowClass);
        window = CreateWindowW(L"LOGGER_CLASS", L"Form_", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
        SetEvent(ready);
        MSG message;
        while (window && GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
    }

    HWND window = nullptr;
    std::thread loop;
};

std::wstring Prefixed(DWORD thread, const std::wstring& text) {
    return L"[" + std::to_wstring(thread) + L"]\t" + text;
}

std::vector<std::wstring> Texts() {
    std::lock_guard<std::mutex> guard(receivedLock);
    std::vector<std::wstring> texts;
    for (const Received& r : received)
        texts.push_back(r.text);
    return texts;
}

const char* const switchKey = "Software\\VYRN\\Loggers";

class WindowLogger : public ::testing::Test {
protected:
    // Starts with no kept line: whatever an earlier test left goes to a viewer and is forgotten.
    void SetUp() override {
        {
            TTestKey on(HKEY_LOCAL_MACHINE, switchKey);
            on.SetDword("", 1);
            CViewer viewer;
            WriteDebugLineW(L"drain");
        }
        std::lock_guard<std::mutex> guard(receivedLock);
        received.clear();
    }

    // What a viewer started now receives when one more line is written.
    std::vector<std::wstring> DeliveredToNewViewer(const TTestKey& key) {
        key.SetDword("", 1);
        CViewer viewer;
        EXPECT_TRUE(viewer.Exists());
        WriteDebugLineW(L"now");
        return Texts();
    }

    const DWORD me = GetCurrentThreadId();
};

TEST_F(WindowLogger, SwitchOffMeansDebuggerOutputOnly) {
    struct Case {
        const char* name;
        DWORD type;
        std::string data;
    } const cases[] = {
        {"missing", REG_NONE, ""},
        {"zero", REG_DWORD, std::string(4, '\0')},
        {"text", REG_SZ, std::string("1\0", 2)},
    };
    for (const Case& c : cases) {
        TTestKey key(HKEY_LOCAL_MACHINE, switchKey);
        if (c.type != REG_NONE)
            key.Set("", c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
        {
            CViewer viewer;
            TDebugOutputCapture capture(TCaptureAt::Exceptions);
            WriteDebugLineW(L"not for the viewer");
            EXPECT_EQ(capture.Lines(), std::vector<std::string>{"[" + std::to_string(me) + "]\tnot for the viewer"})
                << c.name;
        }
        EXPECT_TRUE(Texts().empty()) << c.name;
        WriteDebugLineW(L"not kept either");
        EXPECT_EQ(DeliveredToNewViewer(key), std::vector<std::wstring>{Prefixed(me, L"now")}) << c.name;
        std::lock_guard<std::mutex> guard(receivedLock);
        received.clear();
    }
}

TEST_F(WindowLogger, EachLineIsOneCopyDataMessage) {
    TTestKey key(HKEY_LOCAL_MACHINE, switchKey);
    key.SetDword("", 7);
    CViewer viewer;
    WriteDebugLineStr("Reader located: Считыватель");
    WriteDebugLineW(L"");
    WriteDebugLine(L"wide \x263A");
    std::lock_guard<std::mutex> guard(receivedLock);
    ASSERT_EQ(received.size(), 3u);
    const std::wstring expected[] = {Prefixed(me, L"Reader located: Считыватель"), Prefixed(me, L""),
                                     Prefixed(me, L"wide \x263A")};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(received[i].identifier, 1u);
        EXPECT_EQ(received[i].text, expected[i]);
        EXPECT_EQ(received[i].bytes, 2 * expected[i].size() + 2);
        EXPECT_TRUE(received[i].terminated);
    }
}

TEST_F(WindowLogger, KeptLinesGoFirstToTheNextViewer) {
    TTestKey key(HKEY_LOCAL_MACHINE, switchKey);
    key.SetDword("", 1);
    for (const wchar_t* text : {L"one", L"two", L"three"})
        WriteDebugLineW(text);
    EXPECT_EQ(DeliveredToNewViewer(key), (std::vector<std::wstring>{Prefixed(me, L"one"), Prefixed(me, L"two"),
                                                                    Prefixed(me, L"three"), Prefixed(me, L"now")}));
    {
        std::lock_guard<std::mutex> guard(receivedLock);
        received.clear();
    }
    EXPECT_EQ(DeliveredToNewViewer(key), std::vector<std::wstring>{Prefixed(me, L"now")});
}

TEST_F(WindowLogger, AtMostTheLatestHundredAreKept) {
    TTestKey key(HKEY_LOCAL_MACHINE, switchKey);
    key.SetDword("", 1);
    for (int i = 1; i <= 150; ++i)
        WriteDebugLineW(std::to_wstring(i).c_str());
    std::vector<std::wstring> expected;
    for (int i = 51; i <= 150; ++i)
        expected.push_back(Prefixed(me, std::to_wstring(i)));
    expected.push_back(Prefixed(me, L"now"));
    EXPECT_EQ(DeliveredToNewViewer(key), expected);
}

// Lines "<thread>:<n>" from several threads; each must arrive with its writer's number and, but
// for the kept lines of a writer named unordered (threads emptying the buffer together send
// them in the order they finish), in its writer's order.
void ExpectWellFormed(const std::vector<std::wstring>& texts, const std::map<int, DWORD>& threads, int unordered = -1) {
    std::map<int, int> lastOfThread;
    for (const std::wstring& text : texts) {
        if (text.find(L"now") != std::wstring::npos)
            continue;
        int thread = -1, n = -1;
        const size_t tab = text.find(L'\t');
        ASSERT_NE(tab, std::wstring::npos);
        ASSERT_EQ(swscanf(text.c_str() + tab + 1, L"%d:%d", &thread, &n), 2) << text;
        ASSERT_TRUE(threads.count(thread)) << text;
        EXPECT_EQ(text.substr(0, tab + 1), Prefixed(threads.at(thread), L"")) << text;
        const auto last = lastOfThread.find(thread);
        const int previous = last != lastOfThread.end() ? last->second : -1;
        if (thread != unordered) {
            EXPECT_GT(n, previous) << text;
        }
        lastOfThread[thread] = n;
    }
}

std::map<int, DWORD> WriteFromThreads(int threadCount, int linesEach) {
    std::map<int, DWORD> ids;
    std::mutex idsLock;
    std::vector<std::thread> writers;
    for (int t = 0; t < threadCount; ++t)
        writers.emplace_back([t, linesEach, &ids, &idsLock] {
            {
                std::lock_guard<std::mutex> guard(idsLock);
                ids[t] = GetCurrentThreadId();
            }
            for (int n = 0; n < linesEach; ++n)
                WriteDebugLineW((std::to_wstring(t) + L":" + std::to_wstring(n)).c_str());
        });
    for (std::thread& w : writers)
        w.join();
    return ids;
}

TEST_F(WindowLogger, BurstFromSeveralThreadsWithoutViewer) {
    TTestKey key(HKEY_LOCAL_MACHINE, switchKey);
    key.SetDword("", 1);
    const std::map<int, DWORD> ids = WriteFromThreads(6, 80);
    const std::vector<std::wstring> texts = DeliveredToNewViewer(key);
    ASSERT_EQ(texts.size(), 101u);
    EXPECT_EQ(texts.back(), Prefixed(me, L"now"));
    ExpectWellFormed(texts, ids);
}

TEST_F(WindowLogger, SeveralThreadsEmptyTheKeptLinesTogether) {
    TTestKey key(HKEY_LOCAL_MACHINE, switchKey);
    key.SetDword("", 1);
    for (int n = 0; n < 100; ++n)
        WriteDebugLineW((L"9:" + std::to_wstring(n)).c_str());
    CViewer viewer;
    std::map<int, DWORD> ids = WriteFromThreads(8, 25);
    ids[9] = me;
    const std::vector<std::wstring> texts = Texts();
    // Every kept line and every new one exactly once.
    EXPECT_EQ(texts.size(), 100u + 8 * 25);
    std::vector<std::wstring> sorted = texts;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    ExpectWellFormed(texts, ids, 9);
}

TEST(SafeVector, BoundDropsTheOldest) {
    SafeVector<int> bounded(3), unbounded(0);
    for (int i = 1; i <= 5; ++i) {
        bounded.Push(i);
        unbounded.Push(i);
    }
    EXPECT_EQ(bounded.Count(), 3);
    EXPECT_EQ(unbounded.Count(), 5);
    int item = 0;
    for (int expected : {3, 4, 5}) {
        ASSERT_TRUE(bounded.PopFront(item));
        EXPECT_EQ(item, expected);
    }
    item = -1;
    EXPECT_FALSE(bounded.PopFront(item));
    EXPECT_EQ(item, -1);
    EXPECT_EQ(bounded.Count(), 0);
}

}  // namespace
