// A static text on its parent's background.
#pragma once
#include "Control.h"

class TLabel : public TWinControl {
public:
    TLabel(TWinControl* parent, int id) : TWinControl(parent, id, L"STATIC", SS_LEFT | SS_NOPREFIX) {
        SetParentColor(true);
    }
};
