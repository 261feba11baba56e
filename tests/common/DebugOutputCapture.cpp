#include "DebugOutputCapture.h"
#include <windows.h>
#include <algorithm>
#include <mutex>

namespace {
// Raised by OutputDebugStringA (args: length with NUL, text) and, on Windows 10, by
// OutputDebugStringW before it (args: length with NUL, UTF-16 text).
constexpr DWORD AnsiPrintException = 0x40010006;
constexpr DWORD WidePrintException = 0x4001000A;

std::mutex linesLock;
std::vector<std::string> capturedLines;

std::string FromWide(const wchar_t* text, int units) {
    const int bytes = WideCharToMultiByte(1251, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string result(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(1251, 0, text, units, &result[0], bytes, nullptr, nullptr);
    return result;
}

void Record(std::string line) {
    std::lock_guard<std::mutex> guard(linesLock);
    capturedLines.push_back(std::move(line));
}

void WINAPI RecordAnsi(LPCSTR text) {
    try {
        Record(text != nullptr ? text : "");
    } catch (...) {
    }
}

void WINAPI RecordWide(LPCWSTR text) {
    try {
        Record(text != nullptr ? FromWide(text, static_cast<int>(wcslen(text))) : std::string());
    } catch (...) {
    }
}

LONG CALLBACK RecordDebugOutput(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    const DWORD code = record->ExceptionCode;
    if ((code != AnsiPrintException && code != WidePrintException) || record->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const int units = static_cast<int>(record->ExceptionInformation[0]) - 1;
    try {
        std::string line;
        if (units > 0 && code == AnsiPrintException)
            line.assign(reinterpret_cast<const char*>(record->ExceptionInformation[1]), units);
        else if (units > 0)
            line = FromWide(reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]), units);
        Record(line);
    } catch (...) {
    }
    return EXCEPTION_CONTINUE_EXECUTION;
}

PVOID handler = nullptr;
}  // namespace

TDebugOutputCapture::TDebugOutputCapture(TCaptureAt at) {
    {
        std::lock_guard<std::mutex> guard(linesLock);
        capturedLines.clear();
    }
    if (at == TCaptureAt::Sinks) {
        sinks_->OutputDebugStringA = RecordAnsi;
        sinks_->OutputDebugStringW = RecordWide;
    } else {
        sinks_->OutputDebugStringA = RealCalls<TDebugOutputApi>().OutputDebugStringA;
        sinks_->OutputDebugStringW = RealCalls<TDebugOutputApi>().OutputDebugStringW;
        handler = AddVectoredExceptionHandler(1, RecordDebugOutput);
    }
}

TDebugOutputCapture::~TDebugOutputCapture() {
    if (handler)
        RemoveVectoredExceptionHandler(handler);
    handler = nullptr;
}

std::vector<std::string> TDebugOutputCapture::Lines() const {
    std::lock_guard<std::mutex> guard(linesLock);
    return capturedLines;
}

bool Logged(const TDebugOutputCapture& capture, const std::string& line) {
    const auto lines = capture.Lines();
    return std::find(lines.begin(), lines.end(), "VYRNLog: " + line) != lines.end();
}
