// A windowed control: position, alignment inside its parent, visibility, text, font and colour.
#pragma once
#include "Color.h"
#include "Component.h"
#include "Font.h"
#include <windows.h>
#include <string>
#include <vector>

enum class TAlign { None, Top, Bottom, Client };
enum TAnchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

class TForm;

class TWinControl : public TComponent {
public:
    ~TWinControl() override;

    HWND Handle() const { return hwnd_; }
    int Id() const { return id_; }
    TWinControl* Parent() const { return parent_; }
    TForm* Form();

    void SetBounds(int left, int top, int width, int height);
    void SetAlign(TAlign align) {
        align_ = align;
        RealignParent();
    }
    void SetAnchors(unsigned anchors) { anchors_ = anchors; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    void SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
    bool Enabled() const { return IsWindowEnabled(hwnd_) != FALSE; }

    void SetCaption(const std::string& text);
    std::string Caption() const;
    void SetFont(const TFont& font) { SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Handle()), TRUE); }

    // The background colour; clDefault leaves it to the system, or to the parent for a control
    // that takes its parent's colour.
    void SetColor(TColor color);
    TColor Color() const { return brush_.Color(); }
    // The answer to a child's WM_CTLCOLOR* request: the brush of the child's background, with the
    // DC's colours set; 0 when the system paints it.
    LRESULT ChildColor(HWND child, HDC dc);

    // Lays the children out: aligned ones take their edge or the rest, anchored ones keep their margins.
    void Realign();

protected:
    TWinControl(TWinControl* parent, int id, const wchar_t* windowClass, DWORD style, DWORD exStyle = 0);
    // For top-level windows, which make their window themselves.
    TWinControl() = default;
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    void SetDesignSize(int width, int height) {
        width_ = width;
        height_ = height;
    }
    void SetParentColor(bool on) { parentColor_ = on; }
    // The own brush, else the parent's for a control that takes its colour; null: the system's.
    const TBrush* Background() const;

private:
    void RealignParent() {
        if (parent_)
            parent_->Realign();
    }
    void AddChild(TWinControl* child) { children_.push_back(child); }
    void RemoveChild(TWinControl* child);

    HWND hwnd_ = nullptr;
    int id_ = 0;
    TWinControl* parent_ = nullptr;
    std::vector<TWinControl*> children_;
    TAlign align_ = TAlign::None;
    unsigned anchors_ = akLeft | akTop;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int rightMargin_ = 0, bottomMargin_ = 0;  // distances kept by right/bottom anchors
    bool visible_ = true;
    TBrush brush_;
    bool parentColor_ = false;
};
