#include "custom_window.h"

#include "../framework/gdiplus_api.h"
#include "bar_geometry.h"
#include "message_font.h"

namespace {
constexpr wchar_t kStatusMessage[] =
    L"\u6B63\u5728\u9000\u56DE\u8001\u7248\u672C\uFF0C\u8BF7\u7A0D\u540E\u2026";  // going back to the old version,
                                                                                  // please wait
constexpr int kStatusMessageLength = 12;

// Differences in integers first, then each value to single precision.
Gdiplus::RectF ToRectF(const RECT& r)
{
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    return Gdiplus::RectF(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(width),
                          static_cast<float>(height));
}

// One filled rounded rectangle. The members are declared path first, so the
// brush is deleted before the path.
struct FilledShape {
    gdip::Path path;
    gdip::Brush brush;
};

FilledShape FillRoundRect(Gdiplus::GpGraphics* graphics, const Gdiplus::RectF& rect, float radius,
                          const RgbColor& color)
{
    FilledShape shape{gdip::CreatePath(Gdiplus::FillModeAlternate), nullptr};
    CCustomWindow::AddRoundRectPath(shape.path.get(), rect, radius);
    shape.brush = gdip::CreateSolidBrush(color.ToArgb());
    Gdip().GdipFillPath(graphics, shape.brush.get(), shape.path.get());
    return shape;
}
}  // namespace

void CCustomWindow::AddRoundRectPath(Gdiplus::GpPath* path, const Gdiplus::RectF& rect, float radius)
{
    if (!(radius > 0.0f)) {
        Gdip().GdipAddPathRectangle(path, rect.X, rect.Y, rect.Width, rect.Height);
        return;
    }
    PathArc arcs[4];
    RoundRectArcs(BarRect{rect.X, rect.Y, rect.Width, rect.Height}, radius, arcs);
    for (const PathArc& arc : arcs)
        Gdip().GdipAddPathArc(path, arc.x, arc.y, arc.width, arc.height, arc.startAngle, arc.sweepAngle);
    Gdip().GdipClosePathFigure(path);
}

// Double buffered: the whole picture is drawn off screen and copied in one
// operation, so the window never shows a half-drawn frame. The surface has a
// pixel to spare on every side and is copied from (-1, -1) to (-1, -1), so a
// client pixel shows the surface's pixel at the same coordinates.
void CCustomWindow::OnPaint()
{
    CPaintDC dc(m_hWnd);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    RECT client{0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    // Declared after the memory context: the bitmap is deleted first, once it
    // is no longer selected, then the context, then the paint ends.
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
    // Declared in creation order, so they are deleted in reverse: format,
    // font, family, brush, graphics.
    gdip::Graphics graphics = gdip::CreateGraphics(pDC->m_hDC);
    gdip::Brush brush = gdip::CreateSolidBrush(m_clrText.ToArgb());
    gdip::FontFamily family = CreateMessageFontFamily();
    gdip::Font font = CreateMessageFont(family.get(), m_dScale);
    gdip::StringFormat format = CreateMessageFormat(0);  // wrapping allowed
    const Gdiplus::RectF layout = ToRectF(m_rcText);
    Gdip().GdipDrawString(graphics.get(), kStatusMessage, kStatusMessageLength, font.get(), &layout, format.get(),
                          brush.get());
    // The DC gets its font back before the GDI+ objects are deleted.
    pDC->SelectObject(previousFont);
}

void CCustomWindow::DrawProgressBar(CDC* pDC)
{
    gdip::Graphics graphics = gdip::CreateGraphics(pDC ? pDC->m_hDC : nullptr);
    Gdip().GdipSetSmoothingMode(graphics.get(), Gdiplus::SmoothingModeAntiAlias);

    const Gdiplus::RectF track = ToRectF(m_rcBar);
    // Kept until the end of the call: the track's brush and path are deleted
    // after the fill's.
    const FilledShape trackShape = FillRoundRect(graphics.get(), track, static_cast<float>(m_nBarRadius), m_clrTrack);

    const float fillWidth = FillWidth(m_nProgress, m_rcBar.right - m_rcBar.left);
    if (!(fillWidth > 0.0f))
        return;
    const Gdiplus::RectF fill(track.X, track.Y, fillWidth, track.Height);
    FillRoundRect(graphics.get(), fill, FillRadius(m_nBarRadius, fillWidth), m_clrFill);
}
