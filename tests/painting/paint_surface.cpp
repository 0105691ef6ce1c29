#include "paint_surface.h"

#include "framework/gdiplus_api.h"
#include "window/message_font.h"

#include <stdexcept>

GdiplusSession::GdiplusSession()
{
    Gdiplus::GdiplusStartupInput input;
    if (Gdip().GdiplusStartup(&m_token, &input, nullptr) != Gdiplus::Ok)
        throw std::runtime_error("GDI+ did not start");
}

GdiplusSession::~GdiplusSession()
{
    Gdip().GdiplusShutdown(m_token);
}

PaintSurface::PaintSurface(int width, int height) : m_width(width), m_height(height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_dc.CreateCompatibleDC(nullptr);
    m_bitmap.Attach(::CreateDIBSection(m_dc.m_hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_dc.m_hDC || !m_bitmap.m_hObject || !bits)
        throw std::runtime_error("no memory surface");
    m_bits = static_cast<const std::uint32_t*>(bits);
    m_previous = m_dc.SelectObject(&m_bitmap);
}

PaintSurface::~PaintSurface()
{
    m_dc.SelectObject(m_previous);
}

RgbColor PaintSurface::At(int x, int y) const
{
    ::GdiFlush();
    const std::uint32_t p = m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
    return RgbColor{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                    static_cast<std::uint8_t>(p)};
}

void PaintSurface::Fill(const RgbColor& color)
{
    const RECT all{0, 0, m_width, m_height};
    m_dc.FillSolidRect(all, color.ToColorRef());
}

bool SameColor(const RgbColor& a, const RgbColor& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

namespace {
int Distance(const RgbColor& a, const RgbColor& b)
{
    const int dr = a.red - b.red, dg = a.green - b.green, db = a.blue - b.blue;
    return dr * dr + dg * dg + db * db;
}
}  // namespace

bool NearestIs(const RgbColor& pixel, const RgbColor& target, std::initializer_list<RgbColor> others)
{
    for (const RgbColor& other : others) {
        if (Distance(pixel, other) <= Distance(pixel, target))
            return false;
    }
    return true;
}

bool Contains(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

Gdiplus::RectF MeasureOneLine(Gdiplus::GpFontFamily* family, const wchar_t* text, int length)
{
    PaintSurface surface(4, 4);
    gdip::Graphics graphics = gdip::CreateGraphics(surface.DC()->m_hDC);
    gdip::Font font = CreateMessageFont(family, 1.0);
    gdip::StringFormat format = CreateMessageFormat(Gdiplus::StringFormatFlagsNoWrap);
    const Gdiplus::RectF layout(0.0f, 0.0f, 1000.0f, 1000.0f);
    Gdiplus::RectF bounds(0.0f, 0.0f, 0.0f, 0.0f);
    Gdip().GdipMeasureString(graphics.get(), text, length, font.get(), &layout, format.get(), &bounds, nullptr,
                             nullptr);
    return bounds;
}
