#include "RemoteWindow.h"
#include <commctrl.h>

namespace {

struct Search {
    DWORD pid;
    const wchar_t* className;
    std::wstring title;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (pid == s->pid && IsWindowVisible(hwnd) && wcscmp(cls, s->className) == 0 &&
        (s->title.empty() || WindowText(hwnd) == s->title)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowOf(DWORD pid, const wchar_t* cls, const std::wstring& title, DWORD timeoutMs) {
    Search s{pid, cls, title, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&s));
            return s.found != nullptr;
        },
        timeoutMs);
    return s.found;
}

// A block of the other process's memory, freed when the holder goes.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, SIZE_T bytes)
        : process_(process), block_(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (block_)
            VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    char* At(SIZE_T offset) const { return static_cast<char*>(block_) + offset; }
    void Write(SIZE_T offset, const void* data, SIZE_T bytes) const {
        WriteProcessMemory(process_, At(offset), data, bytes, nullptr);
    }
    void Read(SIZE_T offset, void* data, SIZE_T bytes) const {
        ReadProcessMemory(process_, At(offset), data, bytes, nullptr);
    }

private:
    HANDLE process_;
    void* block_;
};

// An LVITEMW in the other process's memory, followed by a text buffer of the given size.
class RemoteItem {
public:
    RemoteItem(HANDLE process, int textUnits)
        : block_(process, sizeof(LVITEMW) + static_cast<SIZE_T>(textUnits) * sizeof(wchar_t)) {}

    LVITEMW* Item() const { return reinterpret_cast<LVITEMW*>(block_.At(0)); }
    wchar_t* Text() const { return reinterpret_cast<wchar_t*>(block_.At(sizeof(LVITEMW))); }
    void Write(const LVITEMW& item) const { block_.Write(0, &item, sizeof item); }
    void WriteText(const std::wstring& text) const {
        block_.Write(sizeof(LVITEMW), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    LVITEMW ReadItem() const {
        LVITEMW item{};
        block_.Read(0, &item, sizeof item);
        return item;
    }
    std::wstring ReadText(int units) const {
        std::wstring text(units, L'\0');
        block_.Read(sizeof(LVITEMW), text.data(), units * sizeof(wchar_t));
        return text;
    }

private:
    RemoteBlock block_;
};

}  // namespace

std::wstring WindowText(HWND hwnd) {
    // WM_GETTEXTLENGTH may count more than WM_GETTEXT then gives, never less.
    const LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return text;
}

std::wstring MessageBoxText(HWND box) {
    return WindowText(GetDlgItem(box, 0xFFFF));
}

TRemoteProgram::TRemoteProgram(const std::wstring& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring command = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_))
        return;
    WaitForInputIdle(process_.hProcess, 10000);
    main_ = FindWindowOf(process_.dwProcessId, L"TF_MainTest", L"", MainWindowTimeoutMs);
}

TRemoteProgram::~TRemoteProgram() {
    if (!process_.hProcess)
        return;
    if (!WaitForExit(0)) {
        if (main_)
            PostMessageW(main_, WM_CLOSE, 0, 0);
        if (!WaitForExit(5000))
            TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND TRemoteProgram::WaitForWindow(const wchar_t* className, const std::wstring& title, DWORD timeoutMs) const {
    return FindWindowOf(process_.dwProcessId, className, title, timeoutMs);
}

HWND TRemoteProgram::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

RECT TRemoteProgram::RowRect(int listId, int item) const {
    RemoteBlock remote(process_.hProcess, sizeof(RECT));
    RECT rect{LVIR_BOUNDS, 0, 0, 0};
    remote.Write(0, &rect, sizeof rect);
    SendMessageW(Control(listId), LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(remote.At(0)));
    remote.Read(0, &rect, sizeof rect);
    return rect;
}

void TRemoteProgram::SetItemText(int listId, int item, int column, const std::wstring& text) const {
    RemoteItem remote(process_.hProcess, static_cast<int>(text.size()) + 1);
    LVITEMW lv{};
    lv.iSubItem = column;
    lv.pszText = remote.Text();
    remote.Write(lv);
    remote.WriteText(text);
    SendMessageW(Control(listId), LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(remote.Item()));
}

void PostDoubleClick(HWND window, POINT point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

COLORREF ScreenPixel(POINT point) {
    HDC screen = GetDC(nullptr);
    const COLORREF color = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return color;
}

std::wstring TRemoteProgram::ItemText(HWND list, int item, int column) const {
    // The list tells only how much it copied: a text that fills the buffer is read again into a
    // larger one.
    for (int units = 4096;; units *= 2) {
        RemoteItem remote(process_.hProcess, units);
        LVITEMW lv{};
        lv.iSubItem = column;
        lv.pszText = remote.Text();
        lv.cchTextMax = units;
        remote.Write(lv);
        const int length = static_cast<int>(
            SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(remote.Item())));
        if (length < units - 1 || units >= (1 << 24))
            return remote.ReadText(length);
    }
}

int TRemoteProgram::ItemImage(HWND list, int item) const {
    RemoteItem remote(process_.hProcess, 1);
    LVITEMW lv{};
    lv.mask = LVIF_IMAGE;
    lv.iItem = item;
    remote.Write(lv);
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.Item()));
    return remote.ReadItem().iImage;
}

std::vector<TRemoteRow> TRemoteProgram::Rows(int listId) const {
    HWND list = Control(listId);
    std::vector<TRemoteRow> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        rows.push_back({ItemText(list, i, 0), ItemText(list, i, 1), ItemText(list, i, 2), ItemImage(list, i)});
    return rows;
}
