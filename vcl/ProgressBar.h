// A smooth progress bar.
#pragma once
#include "Control.h"
#include <commctrl.h>

class TProgressBar : public TWinControl {
public:
    TProgressBar(TWinControl* parent, int id) : TWinControl(parent, id, PROGRESS_CLASSW, PBS_SMOOTH) {}

    void SetMax(int max) { SendMessageW(Handle(), PBM_SETRANGE32, 0, max); }
    int Max() const { return static_cast<int>(SendMessageW(Handle(), PBM_GETRANGE, FALSE, 0)); }
    void SetStep(int step) { SendMessageW(Handle(), PBM_SETSTEP, step, 0); }
    void SetPosition(int position) { SendMessageW(Handle(), PBM_SETPOS, position, 0); }
    int Position() const { return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0)); }
};
