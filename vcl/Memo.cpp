#include "Memo.h"
#include "FormHost.h"
#include <commctrl.h>

TMemo::TMemo(TWinControl* parent, int id)
    : TWinControl(parent, id, L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
                  WS_EX_CLIENTEDGE) {
    SendMessageW(Handle(), EM_SETLIMITTEXT, 0, 0);  // the system's limit, not 30 000 characters
    SetWindowSubclass(Handle(), KeyProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

TMemo::~TMemo() {
    RemoveWindowSubclass(Handle(), KeyProc, 0);
}

LRESULT CALLBACK TMemo::KeyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR memo) {
    auto* self = reinterpret_cast<TMemo*>(memo);
    if (msg == WM_CHAR && self->OnKeyPress) {
        try {
            wchar_t key = static_cast<wchar_t>(wParam);
            self->OnKeyPress(self, key);
            if (key == 0)
                return 0;
            wParam = key;
        } catch (...) {
            if (TFormHost* host = TFormHost::Current())
                host->HandleException();
            return 0;
        }
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}
