#include "Form.h"
#include "FormHost.h"
#include "Menu.h"
#include <algorithm>

namespace {

// Disables a window for the life of a modal display, unless it was disabled already.
class TWindowDisabled {
public:
    explicit TWindowDisabled(HWND window) : window_(window && IsWindowEnabled(window) ? window : nullptr) {
        if (window_)
            EnableWindow(window_, FALSE);
    }
    ~TWindowDisabled() { Restore(); }
    TWindowDisabled(const TWindowDisabled&) = delete;
    TWindowDisabled& operator=(const TWindowDisabled&) = delete;

    void Restore() {
        if (window_)
            EnableWindow(window_, TRUE);
        window_ = nullptr;
    }

private:
    HWND window_;
};

// The window's place centred on another, moved into the work area of that one's screen.
POINT CentredOn(HWND window, HWND other) {
    RECT outer, own;
    GetWindowRect(other, &outer);
    GetWindowRect(window, &own);
    const int width = own.right - own.left, height = own.bottom - own.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(other, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const int left = outer.left + (outer.right - outer.left - width) / 2;
    const int top = outer.top + (outer.bottom - outer.top - height) / 2;
    return {std::max<LONG>(area.left, std::min<LONG>(left, area.right - width)),
            std::max<LONG>(area.top, std::min<LONG>(top, area.bottom - height))};
}

}  // namespace

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
    TFormHost* host = TFormHost::Current();
    HWND owner = host ? host->MainWindow() : nullptr;
    DWORD exStyle = !owner && host && host->MainFormOnTaskBar ? WS_EX_APPWINDOW : 0;
    HWND hwnd = CreateWindowExW(exStyle, className, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance, this);
    Attach(hwnd);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TForm::~TForm() {
    SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
}

bool TForm::IsMain() const {
    const TFormHost* host = TFormHost::Current();
    return host && host->MainForm() == this;
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

void TForm::SetBorderIcons(unsigned icons) {
    LONG style = GetWindowLongW(Handle(), GWL_STYLE) & ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    if (icons & biSystemMenu)
        style |= WS_SYSMENU;
    if (icons & biMinimize)
        style |= WS_MINIMIZEBOX;
    if (icons & biMaximize)
        style |= WS_MAXIMIZEBOX;
    SetWindowLongW(Handle(), GWL_STYLE, style);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::BeforeShow() {
    HWND owner = GetWindow(Handle(), GW_OWNER);
    if (position_ == TPosition::OwnerFormCenter && owner) {
        const POINT place = CentredOn(Handle(), owner);
        SetWindowPos(Handle(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (OnShow)
        OnShow(this);
}

void TForm::Show() {
    BeforeShow();
    ShowWindow(Handle(), SW_SHOW);
}

int TForm::ShowModal() {
    BeforeShow();
    modalResult_ = mrNone;
    TWindowDisabled owner(GetWindow(Handle(), GW_OWNER));
    modal_ = true;
    focused_ = nullptr;  // each display starts at the first control
    ShowWindow(Handle(), SW_SHOW);
    if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE))
        SetFocus(first);
    MSG msg;
    while (modalResult_ == mrNone) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
            modalResult_ = mrCancel;
            break;
        }
        if (!IsDialogMessageW(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    modal_ = false;
    owner.Restore();  // before the form goes, so that the owner is the window activated then
    ShowWindow(Handle(), SW_HIDE);
    return modalResult_;
}

LRESULT CALLBACK TForm::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return form->Dispatch(msg, wParam, lParam);
    } catch (...) {
        if (TFormHost* host = TFormHost::Current())
            host->HandleException();
        return 0;
    }
}

LRESULT TForm::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND: {
        // Escape in a modal display: the dialog keys send IDCANCEL, which no control of a form has;
        // it stands for the cancel button's click.
        const bool escape = LOWORD(wParam) == IDCANCEL && lParam == 0 && cancelButton_;
        auto it = commands_.find(escape ? cancelButton_->Id() : LOWORD(wParam));
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
    case WM_NEXTDLGCTL: {  // Tab in a modal display
        HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                   : GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0);
        if (next) {
            SetFocus(next);
            if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                SendMessageW(next, EM_SETSEL, 0, -1);
        }
        return 0;
    }
    case WM_ACTIVATE:
        // As a dialog: the control that had the focus when the form was left gets it back (the
        // first control the first time), instead of the form itself.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus))
                focused_ = focus;
            return 0;
        }
        if (HIWORD(wParam) == 0) {  // not minimised
            HWND focus = focused_ && IsChild(Handle(), focused_) ? focused_
                                                                 : GetNextDlgTabItem(Handle(), nullptr, FALSE);
            if (focus) {
                SetFocus(focus);
                return 0;
            }
        }
        break;
    case DM_GETDEFID:  // Enter in a modal display
        return defaultButton_ ? MAKELRESULT(defaultButton_->Id(), DC_HASDEFID) : 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (LRESULT brush = ChildColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return brush;
        break;
    case WM_SIZE:
        Realign();
        return 0;
    case WM_CLOSE:
        if (modal_)
            modalResult_ = mrCancel;
        else if (IsMain())
            DestroyWindow(Handle());
        else
            ShowWindow(Handle(), SW_HIDE);
        return 0;
    case WM_DESTROY:
        if (modal_)
            modalResult_ = mrCancel;
        if (IsMain())
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(Handle(), msg, wParam, lParam);
}
