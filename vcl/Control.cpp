#include "Control.h"
#include "Form.h"
#include "Text.h"
#include <algorithm>

TWinControl::TWinControl(TWinControl* parent, int id, const wchar_t* windowClass, DWORD style, DWORD exStyle)
    : id_(id), parent_(parent) {
    hwnd_ = CreateWindowExW(exStyle, windowClass, L"", style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent->Handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    parent_->AddChild(this);
    if (TForm* form = Form())
        SetFont(form->DefaultFont());
}

TWinControl::~TWinControl() {
    if (parent_)
        parent_->RemoveChild(this);
    if (hwnd_ && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

TForm* TWinControl::Form() {
    TWinControl* c = this;
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<TForm*>(c);
}

void TWinControl::RemoveChild(TWinControl* child) {
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (parent_) {
        rightMargin_ = parent_->width_ - (left + width);
        bottomMargin_ = parent_->height_ - (top + height);
    }
    MoveWindow(hwnd_, left, top, width, height, TRUE);
    RealignParent();
}

void TWinControl::SetVisible(bool visible) {
    visible_ = visible;
    ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
    RealignParent();
}

void TWinControl::SetCaption(const std::string& text) {
    SetWindowTextW(hwnd_, vcl::ToWide(text).c_str());
}

std::string TWinControl::Caption() const {
    std::wstring text(GetWindowTextLengthW(hwnd_) + 1, L'\0');
    text.resize(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size())));
    return vcl::ToAnsi(text);
}

void TWinControl::SetColor(TColor color) {
    brush_.SetColor(color);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

const TBrush* TWinControl::Background() const {
    if (brush_.Handle())
        return &brush_;
    return parentColor_ && parent_ ? parent_->Background() : nullptr;
}

LRESULT TWinControl::ChildColor(HWND child, HDC dc) {
    for (TWinControl* c : children_) {
        if (c->hwnd_ != child)
            continue;
        const TBrush* brush = c->Background();
        if (!brush)
            return 0;
        SetBkColor(dc, ColorToRGB(brush->Color()));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(brush->Handle());
    }
    return 0;
}

void TWinControl::Realign() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    RECT rest = rc;
    for (TWinControl* c : children_) {
        if (!c->visible_ || c->align_ == TAlign::None)
            continue;
        RECT r = rest;
        switch (c->align_) {
        case TAlign::Top:
            r.bottom = rest.top + c->height_;
            rest.top = r.bottom;
            break;
        case TAlign::Bottom:
            r.top = rest.bottom - c->height_;
            rest.bottom = r.top;
            break;
        default:
            break;
        }
        MoveWindow(c->hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        c->width_ = r.right - r.left;
        if (c->align_ == TAlign::Client)
            c->height_ = r.bottom - r.top;
        c->Realign();
    }
    for (TWinControl* c : children_) {
        if (c->align_ != TAlign::None)
            continue;
        int left = c->left_, top = c->top_, width = c->width_, height = c->height_;
        int right = rc.right - c->rightMargin_, bottom = rc.bottom - c->bottomMargin_;
        if (c->anchors_ & akRight) {
            if (c->anchors_ & akLeft)
                width = std::max(0, right - left);
            else
                left = right - width;
        }
        if (c->anchors_ & akBottom) {
            if (c->anchors_ & akTop)
                height = std::max(0, bottom - top);
            else
                top = bottom - height;
        }
        MoveWindow(c->hwnd_, left, top, width, height, TRUE);
    }
}
