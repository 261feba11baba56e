// Drives Vorsalt.exe from another process: starts it, finds its windows, reads and changes its
// list rows, double-clicks them, reads its message boxes, and waits for it to end.
#pragma once
#include <windows.h>
#include "Wait.h"
#include <string>
#include <vector>

struct TRemoteRow {
    std::wstring caption, info, id;
    int image;
};

class TRemoteProgram {
public:
    // How long the constructor waits for the main window (scaled, Wait.h).
    static constexpr DWORD MainWindowTimeoutMs = 20000;

    // Starts the program and waits for its main window; Window() is null when it did not appear.
    explicit TRemoteProgram(const std::wstring& exe);
    ~TRemoteProgram();
    TRemoteProgram(const TRemoteProgram&) = delete;
    TRemoteProgram& operator=(const TRemoteProgram&) = delete;

    // Whether the process was created at all.
    bool Started() const { return process_.hProcess != nullptr; }
    HWND Window() const { return main_; }
    HWND Control(int id) const { return GetDlgItem(main_, id); }
    // Controls on a panel of the main window.
    HWND Control(int panelId, int id) const { return GetDlgItem(Control(panelId), id); }
    void Command(int id) const { PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    std::vector<TRemoteRow> Rows(int listId) const;
    // A row's bounds in the list's client area.
    RECT RowRect(int listId, int item) const;
    void SetItemText(int listId, int item, int column, const std::wstring& text) const;

    // A visible top-level window of this program of the class (and the title, unless it is
    // empty), waiting up to timeoutMs; null when none came.
    HWND WaitForWindow(const wchar_t* className, const std::wstring& title, DWORD timeoutMs) const;
    // A message box or dialog of this program with the given title.
    HWND WaitForMessageBox(const std::wstring& title, DWORD timeoutMs) const {
        return WaitForWindow(L"#32770", title, timeoutMs);
    }
    // The control that has the keyboard focus in the program's windows.
    HWND Focus() const;
    bool WaitForExit(DWORD timeoutMs) const {
        return WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }

private:
    std::wstring ItemText(HWND list, int item, int column) const;
    int ItemImage(HWND list, int item) const;

    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

std::wstring WindowText(HWND hwnd);
std::wstring MessageBoxText(HWND box);
// The mouse messages of a double click at a point of a window's client area, posted to it.
void PostDoubleClick(HWND window, POINT point);
// A pixel of the screen as it shows now.
COLORREF ScreenPixel(POINT point);
