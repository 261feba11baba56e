#include "Button.h"
#include "Form.h"

TButton::TButton(TWinControl* parent, int id) : TWinControl(parent, id, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP) {
    Form()->OnCommand(id, [this] { Clicked(); });
}

void TButton::Clicked() {
    if (modalResult_ != mrNone)
        Form()->SetModalResult(modalResult_);
    if (OnClick)
        OnClick(this);
}

void TButton::SetDefault(bool on) {
    SendMessageW(Handle(), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    Form()->SetDefaultButton(on ? this : nullptr);
}

void TButton::SetCancel(bool on) {
    Form()->SetCancelButton(on ? this : nullptr);
}
