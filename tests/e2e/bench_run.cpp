// The whole run's benchmark, in the demo's world (tools/bench-run.sh; not a test): for each round,
// the wire floor (bench_run_floor.exe: the run's connections and requests made directly) and
// Vorsalt.exe's healthy run against the stand-ins, timed from the posted run command to the
// verdict box's appearance in a new process each time; then the stand-ins are stopped and the
// dead-endpoint run (nothing listening) is timed the same way. Prints each round and the medians.
//   bench_run [ROUNDS]   (default 5)
#include "Endpoints.h"
#include "LoopbackSend.h"
#include "MainIds.h"
#include "RemoteWindow.h"
#include "RunPlan.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::wstring VerdictTitle = L"Результаты тестирования";

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The floor program's output, or what went wrong.
std::string RunFloor() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return "no pipe";
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = write;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring command = L"bench_run_floor.exe";
    const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                                        &pi) != FALSE;
    CloseHandle(write);
    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (started && ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    CloseHandle(read);
    if (!started)
        return "bench_run_floor.exe did not start";
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return output;
}

struct TimedRun {
    bool Verdict = false;
    double Ms = 0;
    int Rows = 0, Passed = 0;
    int Questions = 0;  // retry boxes answered No on the way
};

// A visible message box of the process, or null. Asks for the windows of the box class alone, so
// that polling it each millisecond adds little to the Wine server's work while the run goes on.
HWND VisibleBox(DWORD pid) {
    for (HWND w = FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w;
         w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid && IsWindowVisible(w))
            return w;
    }
    return nullptr;
}

// Polls for a box of the process up to the limit; null when none came.
HWND NextBox(DWORD pid, LARGE_INTEGER& shown) {
    const DWORD limit = GetTickCount() + 120000;
    while (GetTickCount() < limit) {
        if (HWND box = VisibleBox(pid)) {
            QueryPerformanceCounter(&shown);
            return box;
        }
        Sleep(1);
    }
    return nullptr;
}

// Starts Vorsalt.exe, posts the run command and waits for the verdict box; the box is closed and
// the program ended afterwards.
TimedRun Run() {
    TimedRun run;
    TRemoteProgram program(L"Vorsalt.exe");
    if (!program.Window())
        return run;
    Sleep(300);
    DWORD pid = 0;
    GetWindowThreadProcessId(program.Window(), &pid);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    program.Command(ID_mni_N18);
    HWND box = nullptr;
    while (HWND any = NextBox(pid, end)) {
        if (WindowText(any) == VerdictTitle) {
            box = any;
            break;
        }
        ++run.Questions;
        PostMessageW(any, WM_COMMAND, IDNO, 0);
        WaitUntil([&] { return !IsWindow(any); }, 5000);
    }
    if (!box)
        return run;
    run.Verdict = true;
    run.Ms = Milliseconds(start, end);
    for (const TRemoteRow& row : program.Rows(ID_LV_Stat)) {
        ++run.Rows;
        run.Passed += row.image == ImagePassed;
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitUntil([&] { return !IsWindow(box); }, 5000);
    return run;
}

// The stand-ins' addresses and ports (standins/start.sh).
struct Listener {
    const char* host;
    u_short port;
};
const Listener Standins[] = {
    {VORSALT_SERVICE_HOST, 80},   {VORSALT_SERVICE_HOST, 443},
    {VORSALT_TRAINING_HOST, 443}, {VORSALT_ALTERNATIVE_HOST, 443},
    {VORSALT_CA_WEB_HOST, 80},    {VORSALT_ALT_CA_WEB_HOST, 80},
    {"127.0.0.1", 8088},
};

// Stops every stand-in (the peer's stop request, in plain text also to its TLS ports) and waits
// until none listens.
bool StopStandins() {
    for (const Listener& l : Standins)
        SendToListener(l.host, l.port, "GET /__peer/stop HTTP/1.1\r\nHost: stop\r\n\r\n");
    return WaitUntil(
        [] {
            return std::none_of(std::begin(Standins), std::end(Standins),
                                [](const Listener& l) { return SendToListener(l.host, l.port, ""); });
        },
        10000);
}

void PrintRun(const char* name, const TimedRun& run) {
    if (!run.Verdict) {
        std::printf("%s: no verdict", name);
        return;
    }
    std::printf("%s %.1f ms (%d of %d rows passed", name, run.Ms, run.Passed, run.Rows);
    if (run.Questions)
        std::printf(", %d retry boxes answered No", run.Questions);
    std::printf(")");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    std::vector<double> floors, runs, deads;
    bool healthy = true;
    for (int round = 1; round <= rounds; ++round) {
        const std::string floor = RunFloor();
        const double floorMs = std::atof(floor.c_str());
        const TimedRun run = Run();
        std::printf("round %d: floor %s ms, ", round, floor.c_str());
        PrintRun("run", run);
        std::printf("\n");
        if (floorMs <= 0 || !run.Verdict || run.Passed != run.Rows || run.Rows == 0) {
            healthy = false;
            continue;
        }
        floors.push_back(floorMs);
        runs.push_back(run.Ms);
    }
    if (!StopStandins()) {
        std::printf("the stand-ins did not stop\n");
        return 1;
    }
    for (int round = 1; round <= rounds; ++round) {
        const TimedRun dead = Run();
        std::printf("dead-endpoint round %d: ", round);
        PrintRun("run", dead);
        std::printf("\n");
        if (dead.Verdict)
            deads.push_back(dead.Ms);
    }
    WSACleanup();
    if (!floors.empty()) {
        const double floor = Median(floors), run = Median(runs);
        std::printf("healthy run: median %.1f ms; wire floor: median %.1f ms; ratio %.2f\n", run, floor, run / floor);
    }
    if (!deads.empty())
        std::printf("dead-endpoint run: median %.1f ms\n", Median(deads));
    if (!healthy)
        std::printf("not every round was a healthy run beside a floor: those are left out of the medians\n");
    return healthy && !deads.empty() ? 0 : 1;
}
