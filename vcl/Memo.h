// A multi-line edit with a vertical scroll bar: Enter makes a new line, and the text may be as
// long as the system allows. OnKeyPress sees each character typed and swallows it when it sets
// the key to 0. Colours as for TEdit.
#pragma once
#include "Control.h"
#include <functional>

class TMemo : public TWinControl {
public:
    TMemo(TWinControl* parent, int id);
    ~TMemo() override;

    void SetReadOnly(bool readOnly) { SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0); }
    void SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }

    std::function<void(TComponent* sender, wchar_t& key)> OnKeyPress;

private:
    static LRESULT CALLBACK KeyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR memo);
};
