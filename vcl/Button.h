// A push button; its click reaches the form as WM_COMMAND with the button's id.
#pragma once
#include "Control.h"

class TButton : public TWinControl {
public:
    TButton(TWinControl* parent, int id) : TWinControl(parent, id, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP) {}
    void Click() { SendMessageW(Handle(), BM_CLICK, 0, 0); }
};
