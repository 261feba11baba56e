// What a control's parent answers to the control's colour request (WM_CTLCOLORSTATIC or
// WM_CTLCOLOREDIT), asked with a memory device context.
#pragma once
#include <windows.h>

struct TColourAnswer {
    bool own;  // a brush of the control's colour, not the system's answer
    COLORREF brush, background;
};

inline TColourAnswer ColourAnswer(HWND parent, UINT request, HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetBkColor(dc, RGB(1, 2, 3));
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, request, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    LOGBRUSH look{};
    GetObjectW(brush, sizeof look, &look);
    const TColourAnswer answer{brush != nullptr, look.lbColor, GetBkColor(dc)};
    DeleteDC(dc);
    return answer;
}
