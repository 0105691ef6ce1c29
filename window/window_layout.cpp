#include "custom_window.h"

#include "layout.h"
#include "message_font.h"

namespace {
// Sized for the longer of the product's messages, so that either fits the
// same rectangle: the drawn status text is never measured itself.
constexpr wchar_t kMeasuringText[] =
    L"\u6B63\u5728\u5207\u6362\u4E3A\u7ECF\u5178\u7248\u672C\uFF0C\u8BF7\u7A0D\u540E\u2026";
constexpr int kMeasuringTextLength = 14;

// Height of one unwrapped line of the measuring text; 0 when it cannot be measured.
float MeasureLineHeight(HDC hdc, double scale)
{
    gdip::Graphics graphics = gdip::CreateGraphics(hdc);
    gdip::FontFamily family = CreateMessageFontFamily();
    gdip::Font font = CreateMessageFont(family.get(), scale);
    gdip::StringFormat format = CreateMessageFormat(Gdiplus::StringFormatFlagsNoWrap);

    const Gdiplus::RectF layoutRect(0.0f, 0.0f, 1000.0f, 1000.0f);
    Gdiplus::RectF bounds(0.0f, 0.0f, 0.0f, 0.0f);
    if (Gdip().GdipMeasureString(graphics.get(), kMeasuringText, kMeasuringTextLength, font.get(), &layoutRect,
                                 format.get(), &bounds, nullptr, nullptr) != Gdiplus::Ok)
        return 0.0f;
    return bounds.Height;
}
}  // namespace

void CCustomWindow::UpdateLayout()
{
    RECT client{0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &client);
    float lineHeight = 0.0f;
    {
        CClientDC dc(m_hWnd);
        lineHeight = MeasureLineHeight(dc.m_hDC, m_dScale);
    }
    const ProgressLayout layout = ComputeProgressLayout(client, m_nMarginX, m_nMarginTop, m_nBarHeight, lineHeight);
    m_rcText = layout.text;
    m_rcBar = layout.bar;
}
