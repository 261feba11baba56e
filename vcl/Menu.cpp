#include "Menu.h"
#include "Form.h"
#include "Text.h"

TMainMenu::~TMainMenu() {
    if (!IsWindow(form_.Handle()) || GetMenu(form_.Handle()) != handle_)
        DestroyMenu(handle_);
}

HMENU TMainMenu::AddMenu(const std::string& caption) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(handle_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu), vcl::ToWide(caption).c_str());
    return menu;
}

void TMainMenu::AddItem(HMENU menu, TMenuItem& item, TAction* action) {
    if (action)
        item.Caption = action->Caption;
    UINT flags = MF_STRING | (action && !action->HasHandler() ? MF_GRAYED : 0);
    AppendMenuW(menu, flags, item.Id, vcl::ToWide(item.Caption).c_str());
    form_.OnCommand(item.Id, [&item, action] {
        if (action)
            action->Execute();
        else if (item.OnClick)
            item.OnClick(&item);
    });
}
