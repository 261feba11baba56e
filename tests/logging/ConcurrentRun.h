// Runs a body on several threads at once and waits for all of them, at most for a generous time
// (scaled where processes are slow);
// a run that does not finish by then (a deadlock) ends the test process with a message.
#pragma once
#include "Wait.h"
#include <windows.h>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

inline void RunConcurrently(int threads, const std::function<void(int)>& body,
                            std::chrono::milliseconds limit = std::chrono::milliseconds(Scaled(240000))) {
    std::mutex lock;
    std::condition_variable changed;
    int finished = 0;
    bool go = false;
    std::vector<std::thread> started;
    for (int i = 0; i < threads; ++i) {
        started.emplace_back([&, i] {
            {
                std::unique_lock<std::mutex> guard(lock);
                changed.wait(guard, [&] { return go; });
            }
            body(i);
            std::lock_guard<std::mutex> guard(lock);
            ++finished;
            changed.notify_all();
        });
    }
    std::unique_lock<std::mutex> guard(lock);
    go = true;
    changed.notify_all();
    if (!changed.wait_for(guard, limit, [&] { return finished == threads; })) {
        std::fprintf(stderr, "%d of %d threads still running after %d ms: deadlock\n", threads - finished, threads,
                     static_cast<int>(limit.count()));
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    guard.unlock();
    for (auto& thread : started)
        thread.join();
}
