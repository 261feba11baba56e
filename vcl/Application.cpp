#include "Application.h"
#include <commctrl.h>

static TApplication theApplication;
TApplication* Application = &theApplication;

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

void TApplication::Run() {
    if (!MainForm())
        return;
    MainForm()->Show();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
