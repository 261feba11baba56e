// An owned GDI font.
#pragma once
#include <windows.h>

class TFont {
public:
    TFont(const wchar_t* face, int heightPixels, bool bold = false)
        : handle_(CreateFontW(-heightPixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              face)) {}
    ~TFont() {
        if (handle_)
            DeleteObject(handle_);
    }
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    HFONT Handle() const { return handle_; }

private:
    HFONT handle_;
};
