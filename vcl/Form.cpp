#include "Form.h"
#include "Application.h"
#include "Menu.h"

TForm::TForm(const wchar_t* className, const TFont* font)
    : ownFont_(font ? nullptr : std::make_unique<TFont>(L"Tahoma", 11)), font_(font ? font : ownFont_.get()) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    if (!GetClassInfoExW(instance, className, &wc)) {
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className;
        RegisterClassExW(&wc);
    }
    TApplication& app = *Application;
    HWND owner = app.MainForm() ? app.MainForm()->Handle() : nullptr;
    DWORD exStyle = !owner && app.MainFormOnTaskBar ? WS_EX_APPWINDOW : 0;
    HWND hwnd = CreateWindowExW(exStyle, className, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, this);
    Attach(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TForm::~TForm() {
    SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
}

void TForm::SetClientSize(int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, GetWindowLongW(Handle(), GWL_STYLE), GetMenu(Handle()) != nullptr,
                       GetWindowLongW(Handle(), GWL_EXSTYLE));
    SetDesignSize(width, height);
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

void TForm::SetMenu(TMainMenu& menu) {
    ::SetMenu(Handle(), menu.Handle());
}

LRESULT CALLBACK TForm::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return form->Dispatch(msg, wParam, lParam);
    } catch (...) {
        try {
            Application->HandleException();
        } catch (...) {
        }
        return 0;
    }
}

LRESULT TForm::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        auto it = commands_.find(LOWORD(wParam));
        if (it != commands_.end() && it->second) {
            auto handler = it->second;  // the handler may replace itself while it runs
            handler();
            return 0;
        }
        break;
    }
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        auto it = notifies_.find({static_cast<int>(hdr->idFrom), hdr->code});
        if (it != notifies_.end() && it->second) {
            auto handler = it->second;
            handler();
            return 0;
        }
        break;
    }
    case WM_SIZE:
        Realign();
        return 0;
    case WM_CLOSE:
        if (Application->MainForm() == this)
            DestroyWindow(Handle());
        else
            ShowWindow(Handle(), SW_HIDE);
        return 0;
    case WM_DESTROY:
        if (Application->MainForm() == this)
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(Handle(), msg, wParam, lParam);
}
