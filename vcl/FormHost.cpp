#include "FormHost.h"
#include "Text.h"

TFormHost* TFormHost::current_ = nullptr;

void TFormHost::ShowException(const Exception& e) {
    MessageBox(e.Message, Title, MB_OK | MB_ICONSTOP);
}

void TFormHost::HandleException() noexcept {
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

int TFormHost::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    // The window the user works in, a modal form above the main one included.
    HWND owner = GetActiveWindow();
    if (!owner)
        owner = IsWindow(mainWindow_) ? mainWindow_ : nullptr;
    return MessageBoxW(owner, vcl::ToWide(text).c_str(), vcl::ToWide(caption).c_str(), flags);
}
