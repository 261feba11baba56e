#include "MessageBoxAnswerer.h"
#include "Wait.h"

TMessageBoxAnswerer::TMessageBoxAnswerer(const std::string& title, int answer)
    : watcher([this, title, answer] { Watch(title, answer); }) {}

void TMessageBoxAnswerer::Stop() {
    stopping = true;
    if (watcher.joinable())
        watcher.join();
}

void TMessageBoxAnswerer::Watch(const std::string& title, int answer) {
    // The bound only keeps a lost box from holding the thread for ever; Stop ends the watch.
    WaitUntil(
        [&] {
            HWND box = FindWindowA("#32770", title.c_str());
            if (box == nullptr)
                return stopping.load();
            const HWND message = GetDlgItem(box, 0xFFFF);
            std::string whole(static_cast<size_t>(GetWindowTextLengthA(message)) + 1, '\0');
            whole.resize(GetWindowTextA(message, &whole[0], static_cast<int>(whole.size())));
            text = whole;
            seen = true;
            PostMessageA(box, WM_COMMAND, answer, 0);
            return true;
        },
        120000);
}
