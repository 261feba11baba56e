// A plain container; its background colour is its own (SetColor). It passes its children's
// commands and notifications up to its parent and answers their colour requests.
#pragma once
#include "Control.h"

class TPanel : public TWinControl {
public:
    TPanel(TWinControl* parent, int id);
    ~TPanel() override;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
