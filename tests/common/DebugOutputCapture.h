// Records what this process writes to the debugger output while an instance lives.
#pragma once
#include "DebugOutputApi.h"
#include "SeamOverride.h"
#include <string>
#include <vector>

// Where a capture takes the lines: at the program's debug-output sinks (support/DebugOutputApi.h),
// where nothing is raised, or as the exceptions the real OutputDebugString raises (the sinks' own
// tests, and lines of code that writes to the debugger output directly).
enum class TCaptureAt { Sinks, Exceptions };

class TDebugOutputCapture {
public:
    explicit TDebugOutputCapture(TCaptureAt at = TCaptureAt::Sinks);
    ~TDebugOutputCapture();
    TDebugOutputCapture(const TDebugOutputCapture&) = delete;
    TDebugOutputCapture& operator=(const TDebugOutputCapture&) = delete;

    // Each debugger-output string in ANSI (UTF-16 ones converted through code page 1251).
    std::vector<std::string> Lines() const;

private:
    TSeamOverride<TDebugOutputApi> sinks_;
};

// Whether the capture holds the line as VYRNLog writes it.
bool Logged(const TDebugOutputCapture& capture, const std::string& line);
