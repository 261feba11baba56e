// A plain container with an optional background colour; it passes its children's commands,
// notifications and colour requests up to its parent.
#pragma once
#include "Control.h"

class TPanel : public TWinControl {
public:
    TPanel(TWinControl* parent, int id);
    ~TPanel() override;

    void SetColor(COLORREF color);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HBRUSH brush_ = nullptr;
};
