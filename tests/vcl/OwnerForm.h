// The main form of a windowing test program, made once and shown where the test puts it: the
// owner of every form made after it.
#pragma once
#include "Application.h"
#include "Form.h"

class TOwnerForm : public TForm {
public:
    TOwnerForm() : TForm(L"TOwnerForm") { SetClientSize(600, 400); }
};

// Dispatches messages until none has come for quietMs: the display's late activation and focus
// events of an earlier modal display are handled before the next one starts.
inline void HandleLateEvents(DWORD quietMs) {
    DWORD quietSince = GetTickCount();
    MSG msg;
    while (GetTickCount() - quietSince < quietMs) {
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        quietSince = GetTickCount();
    }
}

inline TForm& OwnerForm(int left = 100, int top = 100) {
    static TOwnerForm* owner = nullptr;
    if (!owner) {
        Application->CreateForm(owner);
        owner->Show();
    }
    SetWindowPos(owner->Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetActiveWindow(owner->Handle());
    HandleLateEvents(500);
    return *owner;
}
