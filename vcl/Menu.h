// The form's main menu: drop-down menus of items that send WM_COMMAND with the item's id.
#pragma once
#include "Action.h"
#include <windows.h>
#include <string>

class TForm;

class TMenuItem : public TComponent {
public:
    TMenuItem(std::string name, int id, std::string caption, int tag = 0)
        : TComponent(std::move(name)), Id(id), Caption(std::move(caption)) {
        Tag = tag;
    }
    const int Id;
    std::string Caption;
    TNotifyEvent OnClick;
};

class TMainMenu {
public:
    explicit TMainMenu(TForm& form) : form_(form), handle_(CreateMenu()) {}
    ~TMainMenu();
    TMainMenu(const TMainMenu&) = delete;
    TMainMenu& operator=(const TMainMenu&) = delete;

    HMENU Handle() const { return handle_; }
    HMENU AddMenu(const std::string& caption);
    // A clicked item runs its OnClick, or executes the action it is bound to.
    void AddItem(HMENU menu, TMenuItem& item, TAction* action = nullptr);
    void AddSeparator(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }

private:
    TForm& form_;
    HMENU handle_;
};
