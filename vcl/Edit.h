// A one-line edit. A read-only one asks its parent for its colours with WM_CTLCOLORSTATIC, an
// editable one with WM_CTLCOLOREDIT; either way it paints with its own colour when it has one.
#pragma once
#include "Control.h"

class TEdit : public TWinControl {
public:
    TEdit(TWinControl* parent, int id)
        : TWinControl(parent, id, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE) {}
    void SetReadOnly(bool readOnly) { SendMessageW(Handle(), EM_SETREADONLY, readOnly, 0); }
};
