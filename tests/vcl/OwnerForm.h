// The main form of a windowing test program, made once and shown where the test puts it: the
// owner of every form made after it.
#pragma once
#include "Application.h"
#include "Form.h"

class TOwnerForm : public TForm {
public:
    TOwnerForm() : TForm(L"TOwnerForm") { SetClientSize(600, 400); }
};

inline TForm& OwnerForm(int left = 100, int top = 100) {
    static TOwnerForm* owner = nullptr;
    if (!owner) {
        Application->CreateForm(owner);
        owner->Show();
    }
    SetWindowPos(owner->Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return *owner;
}
