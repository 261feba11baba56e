// A top-level window whose window class is the form's class name. It routes the commands and
// notifications of its controls and menu to handlers, answers its controls' colour requests,
// and lets no exception out of its procedure. A form other than the main one is owned by the
// main form; closing it hides it, or ends its modal display.
#pragma once
#include "Control.h"
#include <functional>
#include <map>
#include <memory>
#include <utility>

class TButton;
class TMainMenu;

// Modal results.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2;

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

protected:
    TForm(const wchar_t* className, const TFont* font = nullptr);

private:
    friend class TButton;
    void SetDefaultButton(TButton* button) { defaultButton_ = button; }
    void SetCancelButton(TButton* button) { cancelButton_ = button; }
    void BeforeShow();

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<TFont> ownFont_;
    const TFont* font_;
    std::map<int, std::function<void()>> commands_;
    std::map<std::pair<int, UINT>, std::function<void()>> notifies_;
    TPosition position_ = TPosition::Designed;
    TButton* defaultButton_ = nullptr;
    TButton* cancelButton_ = nullptr;
    HWND focused_ = nullptr;  // the control that had the focus when the form was last left
    bool modal_ = false;
    int modalResult_ = mrNone;
};
