#include "LogViewer_helper.h"
#include "Conversions.h"
#include "DebugOutputApi.h"
#include "LastErrorKept.h"
#include "Registry.h"
#include "SafeVector.h"
#include "Seam.h"
#include <windows.h>

namespace {

// Name the switch's registry value and the viewer's title; this program uses none.
const std::string loggerName;
const std::string loggerInstanceName;

SafeVector<std::wstring> pendingLines(100);

bool ViewerSwitchOn() {
    DWORD value = 0;
    return RegReadDword(HKEY_LOCAL_MACHINE, "Software\\VYRN\\Loggers", loggerName.c_str(), &value) == 0 && value != 0;
}

void SendToViewer(HWND viewer, const std::wstring& line) {
    COPYDATASTRUCT data;
    data.dwData = 1;
    data.cbData = static_cast<DWORD>((line.size() + 1) * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(line.c_str());
    SendMessageA(viewer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

void ForwardToViewer(const std::wstring& line) {
    const std::string title = "Form" + loggerName + "_" + loggerInstanceName;
    const HWND viewer = FindWindowA("LOGGER_CLASS", title.c_str());
    if (!viewer) {
        pendingLines.Push(line);
        return;
    }
    std::wstring kept;
    while (pendingLines.PopFront(kept))
        SendToViewer(viewer, kept);
    SendToViewer(viewer, line);
}

void WriteLine(const std::wstring& text) {
    const std::wstring line = L"[" + std::to_wstring(GetCurrentThreadId()) + L"]\t" + text;
    Seam<TDebugOutputApi>().OutputDebugStringW(line.c_str());
    if (ViewerSwitchOn())
        ForwardToViewer(line);
}

}  // namespace

// Each entry keeps the caller's last error: callers compose error texts from it.
void WriteDebugLine(const std::wstring& text) {
    TLastErrorKept kept;
    try {
        WriteLine(text);
    } catch (...) {
    }
}

void WriteDebugLineStr(const std::string& text) {
    TLastErrorKept kept;
    try {
        WriteLine(StringToWString(text));
    } catch (...) {
    }
}

void WriteDebugLineW(const wchar_t* text) {
    TLastErrorKept kept;
    try {
        WriteLine(text ? std::wstring(text) : std::wstring());
    } catch (...) {
    }
}
