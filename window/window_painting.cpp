#include "custom_window.h"

#include "../framework/gdiplus_api.h"
#include "bar_geometry.h"
#include "message_font.h"

namespace {
constexpr wchar_t kStatusMessage[] =
    L"\u6B63\u5728\u9000\u56DE\u8001\u7248\u672C\uFF0C\u8BF7\u7A0D\u540E\u2026";  // going back to the old version, please wait
constexpr int kStatusMessageLength = 12;

BarRect ToBarRect(const RECT& r)
{
    return BarRect{static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right - r.left),
                   static_cast<float>(r.bottom - r.top)};
}

Gdiplus::RectF ToRectF(const RECT& r)
{
    const BarRect b = ToBarRect(r);
    return Gdiplus::RectF(b.x, b.y, b.width, b.height);
}

void FillRoundRect(Gdiplus::GpGraphics* graphics, const BarRect& rect, float radius, const RgbColor& color)
{
    gdip::Path path = gdip::CreatePath(Gdiplus::FillModeAlternate);
    CCustomWindow::AddRoundRectPath(path.get(), rect, radius);
    gdip::Brush brush = gdip::CreateSolidBrush(color.ToArgb());
    Gdip().GdipFillPath(graphics, brush.get(), path.get());
}
}  // namespace

void CCustomWindow::AddRoundRectPath(Gdiplus::GpPath* path, const BarRect& rect, float radius)
{
    if (!(radius > 0.0f)) {
        Gdip().GdipAddPathRectangle(path, rect.x, rect.y, rect.width, rect.height);
        return;
    }
    PathArc arcs[4];
    RoundRectArcs(rect, radius, arcs);
    for (const PathArc& arc : arcs)
        Gdip().GdipAddPathArc(path, arc.x, arc.y, arc.width, arc.height, arc.startAngle, arc.sweepAngle);
    Gdip().GdipClosePathFigure(path);
}

// Double buffered: the whole picture is drawn off screen and copied in one
// operation, so the window never shows a half-drawn frame.
void CCustomWindow::OnPaint()
{
    CPaintDC dc(m_hWnd);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    RECT client{0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    CBitmap surface;
    surface.CreateCompatibleBitmap(&dc, width + 2, height + 2);
    HGDIOBJ previous = memory.SelectObject(&surface);
    DrawContent(&memory);
    dc.BitBlt(-1, -1, width + 2, height + 2, &memory, -1, -1, SRCCOPY);
    memory.SelectObject(previous);
}

void CCustomWindow::DrawContent(CDC* pDC)
{
    RECT client{0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &client);
    pDC->FillSolidRect(client, m_clrBack.ToColorRef());
    DrawMessage(pDC);
    DrawProgressBar(pDC);
}

void CCustomWindow::DrawMessage(CDC* pDC)
{
    HGDIOBJ previousFont = pDC->SelectObject(&m_font);
    {
        gdip::Graphics graphics = gdip::CreateGraphics(pDC->m_hDC);
        gdip::Brush brush = gdip::CreateSolidBrush(m_clrText.ToArgb());
        gdip::FontFamily family = CreateMessageFontFamily();
        gdip::Font font = CreateMessageFont(family.get(), m_dScale);
        gdip::StringFormat format = CreateMessageFormat(0);
        const Gdiplus::RectF layout = ToRectF(m_rcText);
        Gdip().GdipDrawString(graphics.get(), kStatusMessage, kStatusMessageLength, font.get(), &layout, format.get(),
                              brush.get());
        // The font goes back into the DC before the GDI+ objects are deleted.
        pDC->SelectObject(previousFont);
    }
}

void CCustomWindow::DrawProgressBar(CDC* pDC)
{
    gdip::Graphics graphics = gdip::CreateGraphics(pDC ? pDC->m_hDC : nullptr);
    Gdip().GdipSetSmoothingMode(graphics.get(), Gdiplus::SmoothingModeAntiAlias);

    const BarRect track = ToBarRect(m_rcBar);
    FillRoundRect(graphics.get(), track, static_cast<float>(m_nBarRadius), m_clrTrack);

    const float fillWidth = FillWidth(m_nProgress, m_rcBar.right - m_rcBar.left);
    if (!(fillWidth > 0.0f))
        return;
    const BarRect fill{track.x, track.y, fillWidth, track.height};
    FillRoundRect(graphics.get(), fill, FillRadius(m_nBarRadius, fillWidth), m_clrFill);
}
