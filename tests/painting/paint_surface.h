#pragma once
#include "framework/afxgdi.h"
#include "framework/gdiplus_api.h"
#include "framework/noncopyable.h"
#include "window/rgb_color.h"

#include <cstdint>
#include <initializer_list>

// GDI+ for the length of a test, for tests that draw without a window
// object (the window object starts GDI+ itself).
class GdiplusSession : private CNoCopy {
public:
    GdiplusSession();
    ~GdiplusSession();

private:
    ULONG_PTR m_token = 0;
};

// A memory device context over a 32-bit top-down bitmap whose pixels the
// test reads directly.
class PaintSurface : private CNoCopy {
public:
    PaintSurface(int width, int height);
    ~PaintSurface();

    CDC* DC() { return &m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    RgbColor At(int x, int y) const;
    void Fill(const RgbColor& color);

private:
    int m_width;
    int m_height;
    CDC m_dc;
    CBitmap m_bitmap;
    HGDIOBJ m_previous = nullptr;
    const std::uint32_t* m_bits = nullptr;
};

bool SameColor(const RgbColor& a, const RgbColor& b);
// True when the pixel is nearer to `target` than to every colour in `others`.
bool NearestIs(const RgbColor& pixel, const RgbColor& target, std::initializer_list<RgbColor> others);
bool Contains(const RECT& r, int x, int y);

// The bounding box of a text laid out on one unwrapped line in the message
// font of the family at scale 1, as the layout measures it.
Gdiplus::RectF MeasureOneLine(Gdiplus::GpFontFamily* family, const wchar_t* text, int length);
