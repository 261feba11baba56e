// A top-level window whose window class is the form's class name. It routes the commands and
// notifications of its controls and menu to handlers, answers its controls' colour requests,
// and lets no exception out of its procedure. A form other than the main one is owned by the
// main form; closing it hides it, or ends its modal display. The main form and the showing of an
// exception are the host's (FormHost.h).
#pragma once
#include "Control.h"
#include "ModalResult.h"
#include <functional>
#include <map>
#include <memory>
#include <utility>

class TMainMenu;

enum class TPosition { Designed, OwnerFormCenter };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };

class TForm : public TWinControl {
public:
    ~TForm() override;

    void SetClientSize(int width, int height);
    void SetMenu(TMainMenu& menu);
    const TFont& DefaultFont() const { return *font_; }
    // Where the form appears when shown: as placed, or centred on its owner within the screen.
    void SetPosition(TPosition position) { position_ = position; }
    void SetBorderIcons(unsigned icons);

    void Show();
    void Close() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

    // Shows the form and dispatches messages, with the keys of a dialog (Tab, Enter, Escape), until
    // a modal result is set; its owner is disabled meanwhile. Closing the form sets mrCancel.
    // Returns the result, the form hidden again.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    // Runs before the form appears.
    TNotifyEvent OnShow;

    // Handlers of WM_COMMAND by control or menu id, and of WM_NOTIFY by control id and code.
    void OnCommand(int id, std::function<void()> handler) { commands_[id] = std::move(handler); }
    void OnNotify(int id, UINT code, std::function<void()> handler) { notifies_[{id, code}] = std::move(handler); }

    // The buttons of the dialog keys in a modal display, as a button sets itself: Enter gives the
    // default one's command, Escape the cancel one's; null: none.
    void SetDefaultButton(const TWinControl* button) { defaultButton_ = button; }
    void SetCancelButton(const TWinControl* button) { cancelButton_ = button; }

protected:
    TForm(const wchar_t* className, const TFont* font = nullptr);

private:
    bool IsMain() const;
    void BeforeShow();

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<TFont> ownFont_;
    const TFont* font_;
    std::map<int, std::function<void()>> commands_;
    std::map<std::pair<int, UINT>, std::function<void()>> notifies_;
    TPosition position_ = TPosition::Designed;
    const TWinControl* defaultButton_ = nullptr;
    const TWinControl* cancelButton_ = nullptr;
    HWND focused_ = nullptr;  // the control that had the focus when the form was last left
    bool modal_ = false;
    int modalResult_ = mrNone;
};
