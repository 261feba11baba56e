// Colours as the class library names them: an RGB value, one of the system's colours (negative,
// resolved when painting) or clDefault, the system's own choice; and a brush of one colour.
#pragma once
#include <windows.h>

using TColor = int;

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000);
constexpr TColor clDefault = 0x20000000;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clYellow = RGB(255, 255, 0);
constexpr TColor clSilver = RGB(192, 192, 192);

inline COLORREF ColorToRGB(TColor color) {
    return color < 0 ? GetSysColor(color & 0xFF) : static_cast<COLORREF>(color);
}

// The brush a control paints its background with; a system colour's brush is the system's own.
class TBrush {
public:
    TBrush() = default;
    ~TBrush() { Free(); }
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    void SetColor(TColor color) {
        Free();
        color_ = color;
        if (color == clDefault)
            return;
        handle_ = color < 0 ? GetSysColorBrush(color & 0xFF) : CreateSolidBrush(static_cast<COLORREF>(color));
    }
    TColor Color() const { return color_; }
    HBRUSH Handle() const { return handle_; }

private:
    void Free() {
        if (handle_ && color_ >= 0)
            DeleteObject(handle_);
        handle_ = nullptr;
    }

    TColor color_ = clDefault;
    HBRUSH handle_ = nullptr;
};
