// Answers a message box of this process from a thread of its own, while the call under test
// waits in it: the box with the given title, answered with a command (IDOK, IDCANCEL, ...).
// The watch ends with Stop (after the call returned, no box of it can come) or once a box was
// answered; what was seen is read afterwards.
#pragma once
#include <windows.h>
#include <atomic>
#include <string>
#include <thread>

class TMessageBoxAnswerer {
public:
    TMessageBoxAnswerer(const std::string& title, int answer);
    ~TMessageBoxAnswerer() { Stop(); }
    TMessageBoxAnswerer(const TMessageBoxAnswerer&) = delete;
    TMessageBoxAnswerer& operator=(const TMessageBoxAnswerer&) = delete;

    void Stop();
    bool Seen() const { return seen; }
    // The box's text (control 0xFFFF).
    const std::string& Text() const { return text; }

private:
    void Watch(const std::string& title, int answer);

    std::atomic<bool> stopping{false};
    bool seen = false;
    std::string text;
    std::thread watcher;
};
