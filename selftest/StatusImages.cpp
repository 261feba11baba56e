#include "StatusImages.h"
#include "Owned.h"

namespace {

constexpr int Size = 16;

// The screen's device context, as GetDC(nullptr) gives it.
struct TScreenDcTraits : TOwnedTraits<HDC, int, 1> {
    static int Close(Handle dc) { return ReleaseDC(nullptr, dc); }
};

class MemoryBitmap {
public:
    explicit MemoryBitmap(HDC screen)
        : dc_(CreateCompatibleDC(screen)),
          bitmap_(CreateCompatibleBitmap(screen, Size, Size)),
          old_(SelectObject(dc_, bitmap_)) {}
    ~MemoryBitmap() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;

    HDC Dc() const { return dc_; }
    // An image list copies only bitmaps that no DC holds.
    void Deselect() { SelectObject(dc_, old_); }
    HBITMAP Bitmap() const { return bitmap_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

class GdiObject {
public:
    GdiObject(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
    ~GdiObject() {
        SelectObject(dc_, old_);
        DeleteObject(object_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
};

enum class Shape { Check, Cross, Exclamation, Arrow };

void Line(HDC dc, int fromX, int fromY, int toX, int toY) {
    MoveToEx(dc, fromX, fromY, nullptr);
    LineTo(dc, toX, toY);
}

// Draws one image in colour on a black background (the mask's transparent part) and its mask.
void DrawShape(HDC dc, Shape shape, COLORREF fill, bool mask) {
    RECT all{0, 0, Size, Size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(mask ? WHITE_BRUSH : BLACK_BRUSH)));
    const COLORREF ink = mask ? RGB(0, 0, 0) : fill;
    const COLORREF mark = mask ? RGB(0, 0, 0) : RGB(255, 255, 255);

    GdiObject pen(dc, CreatePen(PS_SOLID, 1, ink));
    GdiObject brush(dc, CreateSolidBrush(ink));
    if (shape == Shape::Exclamation) {
        POINT triangle[] = {{7, 0}, {8, 0}, {15, 14}, {0, 14}};
        Polygon(dc, triangle, 4);
    } else {
        Ellipse(dc, 0, 0, Size, Size);
    }
    if (mask)
        return;

    GdiObject markPen(dc, CreatePen(PS_SOLID, 2, mark));
    switch (shape) {
    case Shape::Check: {
        POINT tick[] = {{4, 8}, {7, 11}, {12, 5}};
        Polyline(dc, tick, 3);
        break;
    }
    case Shape::Cross:
        Line(dc, 5, 5, 11, 11);
        Line(dc, 11, 5, 5, 11);
        break;
    case Shape::Exclamation:
        Line(dc, 7, 5, 7, 9);
        Line(dc, 7, 11, 7, 12);
        break;
    case Shape::Arrow: {
        Line(dc, 4, 8, 11, 8);
        POINT head[] = {{8, 5}, {11, 8}, {8, 11}};
        Polyline(dc, head, 3);
        break;
    }
    }
}

}  // namespace

void AddStatusImages(TImageList& images) {
    struct {
        Shape shape;
        COLORREF colour;
    } const looks[] = {
        {Shape::Check, RGB(0, 150, 60)},         // passed
        {Shape::Cross, RGB(210, 30, 30)},        // failed
        {Shape::Exclamation, RGB(235, 170, 0)},  // warning
        {Shape::Arrow, RGB(30, 100, 210)},       // running
    };
    const TOwned<TScreenDcTraits> screen(GetDC(nullptr));
    for (const auto& look : looks) {
        MemoryBitmap image(screen.Get()), mask(screen.Get());
        DrawShape(image.Dc(), look.shape, look.colour, false);
        DrawShape(mask.Dc(), look.shape, look.colour, true);
        image.Deselect();
        mask.Deselect();
        images.Add(image.Bitmap(), mask.Bitmap());
    }
}
