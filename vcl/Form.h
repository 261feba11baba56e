// A top-level window whose window class is the form's class name. It routes the commands and
// notifications of its controls and menu to handlers, and lets no exception out of its procedure.
#pragma once
#include "Control.h"
#include <functional>
#include <map>
#include <memory>
#include <utility>

class TMainMenu;

class TForm : public TWinControl {
public:
    ~TForm() override;

    void SetClientSize(int width, int height);
    void SetMenu(TMainMenu& menu);
    const TFont& DefaultFont() const { return *font_; }

    void Show() { ShowWindow(Handle(), SW_SHOW); }
    void Close() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

    // Handlers of WM_COMMAND by control or menu id, and of WM_NOTIFY by control id and code.
    void OnCommand(int id, std::function<void()> handler) { commands_[id] = std::move(handler); }
    void OnNotify(int id, UINT code, std::function<void()> handler) { notifies_[{id, code}] = std::move(handler); }

protected:
    TForm(const wchar_t* className, const TFont* font = nullptr);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<TFont> ownFont_;
    const TFont* font_;
    std::map<int, std::function<void()>> commands_;
    std::map<std::pair<int, UINT>, std::function<void()>> notifies_;
};
