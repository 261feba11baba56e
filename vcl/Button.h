// A push button; its click reaches the form as WM_COMMAND with the button's id, where it runs
// OnClick and, when the button has a modal result, ends the form's modal display with it. In a
// modal display Enter presses the form's default button and Escape its cancel button.
#pragma once
#include "Control.h"
#include "ModalResult.h"

class TButton : public TWinControl {
public:
    TButton(TWinControl* parent, int id);
    // As a click with the mouse: the command reaches the form through the button's parent.
    void Click() {
        SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(Id(), BN_CLICKED), reinterpret_cast<LPARAM>(Handle()));
    }

    void SetDefault(bool on);
    void SetCancel(bool on);
    void SetModalResult(int result) { modalResult_ = result; }
    int ModalResult() const { return modalResult_; }

    TNotifyEvent OnClick;

private:
    void Clicked();

    int modalResult_ = mrNone;
};
