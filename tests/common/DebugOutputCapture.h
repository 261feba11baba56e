// Records what this process writes to the debugger output while an instance lives.
#pragma once
#include <string>
#include <vector>

class CDebugOutputCapture {
public:
    CDebugOutputCapture();
    ~CDebugOutputCapture();
    CDebugOutputCapture(const CDebugOutputCapture&) = delete;
    CDebugOutputCapture& operator=(const CDebugOutputCapture&) = delete;

    // Each debugger-output string in ANSI (UTF-16 ones converted through code page 1251).
    std::vector<std::string> Lines() const;
};

// Whether the capture holds the line as VYRNLog writes it.
bool Logged(const CDebugOutputCapture& capture, const std::string& line);
