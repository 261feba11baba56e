// Drives Vorsalt.exe from another process: starts it, finds its windows, reads its list rows and
// message boxes, and waits for it to end.
#pragma once
#include <windows.h>
#include "Wait.h"
#include <string>
#include <vector>

struct RemoteRow {
    std::wstring caption, info, id;
    int image;
};

class RemoteProgram {
public:
    // Starts the program and waits for its main window; Window() is null when it did not appear.
    explicit RemoteProgram(const std::wstring& exe);
    ~RemoteProgram();
    RemoteProgram(const RemoteProgram&) = delete;
    RemoteProgram& operator=(const RemoteProgram&) = delete;

    HWND Window() const { return main_; }
    HWND Control(int id) const { return GetDlgItem(main_, id); }
    // Controls on a panel of the main window.
    HWND Control(int panelId, int id) const { return GetDlgItem(Control(panelId), id); }
    void Command(int id) const { PostMessageW(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    std::vector<RemoteRow> Rows(int listId) const;

    // A message box of this program with the given title, waiting up to timeoutMs.
    HWND WaitForMessageBox(const std::wstring& title, DWORD timeoutMs) const;
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
