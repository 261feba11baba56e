#include "Panel.h"

static const wchar_t* RegisteredPanelClass() {
    static const wchar_t* name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"TPanel";
        RegisterClassExW(&wc);
        return L"TPanel";
    }();
    return name;
}

TPanel::TPanel(TWinControl* parent, int id) : TWinControl(parent, id, RegisteredPanelClass(), WS_CLIPCHILDREN) {
    SetWindowLongPtrW(Handle(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
}

TPanel::~TPanel() {
    SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcW));
    if (brush_)
        DeleteObject(brush_);
}

void TPanel::SetColor(COLORREF color) {
    if (brush_)
        DeleteObject(brush_);
    brush_ = CreateSolidBrush(color);
    InvalidateRect(Handle(), nullptr, TRUE);
}

LRESULT CALLBACK TPanel::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* panel = reinterpret_cast<TPanel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
        return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
    case WM_ERASEBKGND:
        if (panel && panel->brush_) {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, panel->brush_);
            return 1;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (panel && panel->brush_) {
            LOGBRUSH lb;
            GetObjectW(panel->brush_, sizeof lb, &lb);
            SetBkColor(reinterpret_cast<HDC>(wParam), lb.lbColor);
            return reinterpret_cast<LRESULT>(panel->brush_);
        }
        return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
