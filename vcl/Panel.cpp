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
}

LRESULT CALLBACK TPanel::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* panel = reinterpret_cast<TPanel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
        return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
    case WM_ERASEBKGND:
        if (const TBrush* brush = panel ? panel->Background() : nullptr) {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, brush->Handle());
            return 1;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (LRESULT brush = panel ? panel->ChildColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))
                                  : 0)
            return brush;
        return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
