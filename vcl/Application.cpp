#include "Application.h"
#include "Text.h"
#include <commctrl.h>

static TApplication theApplication;
TApplication* Application = &theApplication;

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

void TApplication::Run() {
    if (!mainForm_)
        return;
    mainForm_->Show();
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

void TApplication::ShowException(const Exception& e) {
    MessageBox(e.Message, Title, MB_OK | MB_ICONSTOP);
}

void TApplication::HandleException() noexcept {
    try {
        try {
            throw;
        } catch (const Exception& e) {
            ShowException(e);
        } catch (...) {
            ShowException(Exception(""));
        }
    } catch (...) {
        // the message could not be shown: nothing more can be done
    }
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    // The window the user works in, a modal form above the main one included.
    HWND owner = GetActiveWindow();
    if (!owner)
        owner = mainForm_ && IsWindow(mainForm_->Handle()) ? mainForm_->Handle() : nullptr;
    return MessageBoxW(owner, vcl::ToWide(text).c_str(), vcl::ToWide(caption).c_str(), flags);
}
