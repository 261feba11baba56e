// Where the program's debug-output lines go (a seam, Seam.h): VYRNLog, the window logger's lines
// and the logging library's debug-output appender write through it. Each OutputDebugString raises
// an exception for a debugger; a test that only observes the lines takes them here, where nothing
// is raised.
#pragma once
#include <windows.h>

struct TDebugOutputApi {
    decltype(&::OutputDebugStringA) OutputDebugStringA;
    decltype(&::OutputDebugStringW) OutputDebugStringW;

    static TDebugOutputApi Real() { return {::OutputDebugStringA, ::OutputDebugStringW}; }
};
