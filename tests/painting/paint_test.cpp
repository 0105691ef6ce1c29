#include "framework/gdiplus_api.h"
#include "painted_window.h"
#include "window/message_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

RECT Inflated(RECT r, int by)
{
    ::InflateRect(&r, by, by);
    return r;
}

bool IsLight(const RgbColor& p)
{
    return p.red > 150 && p.green > 150 && p.blue > 150;
}

// The bounds of the light (text) pixels, inclusive.
struct Ink {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    int count = 0;
    bool Inside(const RECT& r) const { return left >= r.left && right < r.right && top >= r.top && bottom < r.bottom; }
};

Ink FindInk(const PaintSurface& surface)
{
    Ink ink;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            if (!IsLight(surface.At(x, y)))
                continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    }
    return ink;
}

// The column after the last pixel of the bar's middle row that is more fill
// than track: the fill's right edge, to within the anti-aliased pixel.
int FillEdge(const PaintSurface& surface, const RECT& bar)
{
    const int y = (bar.top + bar.bottom) / 2;
    int edge = bar.left;
    for (int x = bar.left; x < bar.right; ++x) {
        if (NearestIs(surface.At(x, y), kFill, {kTrack, kBack}))
            edge = x + 1;
    }
    return edge;
}

int FillPixels(const PaintSurface& surface)
{
    int count = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x)
            count += NearestIs(surface.At(x, y), kFill, {kTrack, kBack, kText});
    }
    return count;
}

using Painting = PaintedWindow;

TEST_F(Painting, BackgroundTrackAndFillAreExactAwayFromEdges)
{
    m_window->m_nProgress = 60;
    PaintSurface surface(420, 114);
    DrawContentInto(surface);
    const RECT text = m_window->m_rcText;
    const RECT bar = m_window->m_rcBar;
    ASSERT_EQ(bar.right - bar.left, 360);
    ASSERT_GT(text.bottom, text.top);

    int checked = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            if (Contains(Inflated(text, 1), x, y) || Contains(Inflated(bar, 1), x, y))
                continue;
            ASSERT_TRUE(SameColor(surface.At(x, y), kBack)) << x << "," << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 420 * 114 / 2);

    const int fillEnd = bar.left + 216;
    for (int y = bar.top + 1; y < bar.bottom - 1; ++y) {
        for (int x = bar.left + 4; x < fillEnd - 4; ++x)
            ASSERT_TRUE(SameColor(surface.At(x, y), kFill)) << x << "," << y;
        for (int x = fillEnd + 4; x < bar.right - 4; ++x)
            ASSERT_TRUE(SameColor(surface.At(x, y), kTrack)) << x << "," << y;
    }
}

TEST_F(Painting, FillEndsWhereTheCappedProgressPutsIt)
{
    const struct {
        int progress;
        int edge;  // pixels from the bar's left
    } cases[] = {{60, 216}, {95, 342}, {100, 342}, {1, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "progress " << c.progress);
        m_window->m_nProgress = c.progress;
        PaintSurface surface(420, 114);
        DrawContentInto(surface);
        const RECT bar = m_window->m_rcBar;
        EXPECT_NEAR(FillEdge(surface, bar) - bar.left, c.edge, 1);
    }
}

TEST_F(Painting, NoFillWithoutProgressOrWithoutABar)
{
    const RECT laidOut = m_window->m_rcBar;
    const struct {
        int progress;
        RECT bar;
    } cases[] = {
        {0, laidOut},
        {-5, laidOut},
        {60, RECT{30, 74, 30, 80}},  // zero width
        {60, RECT{40, 74, 30, 80}},  // negative width
        {-5, RECT{40, 74, 30, 80}},  // negative times negative
        {-60, RECT{390, 74, 30, 80}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "progress " << c.progress << " bar " << c.bar.left << ".." << c.bar.right);
        m_window->m_nProgress = c.progress;
        m_window->m_rcBar = c.bar;
        PaintSurface surface(420, 114);
        DrawContentInto(surface);
        EXPECT_EQ(FillPixels(surface), 0);
    }
}

TEST_F(Painting, StatusMessageIsDrawnLightInsideItsRectangleOnly)
{
    PaintSurface surface(420, 114);
    DrawContentInto(surface);
    const RECT text = m_window->m_rcText;
    const Ink ink = FindInk(surface);
    ASSERT_GT(ink.count, 200);
    EXPECT_TRUE(ink.Inside(text)) << ink.left << "," << ink.top << " .. " << ink.right << "," << ink.bottom;
    int nearText = 0;
    for (int y = text.top; y < text.bottom; ++y) {
        for (int x = text.left; x < text.right; ++x)
            nearText += SameColor(surface.At(x, y), kText);
    }
    EXPECT_GT(nearText, 20) << "fully covered glyph pixels take the text colour exactly";
}

float MeasuredWidth(const wchar_t* text, int length)
{
    gdip::FontFamily family = CreateMessageFontFamily();
    return MeasureOneLine(family.get(), text, length).Width;
}

// The layout is measured with a longer text than the one drawn; the drawn
// message must be the short one, starting at the left of its rectangle.
TEST_F(Painting, DrawnTextIsTheTwelveUnitMessageAtTheLeft)
{
    const float statusWidth =
        MeasuredWidth(L"\u6B63\u5728\u9000\u56DE\u8001\u7248\u672C\uFF0C\u8BF7\u7A0D\u540E\u2026", 12);
    const float measuringWidth =
        MeasuredWidth(L"\u6B63\u5728\u5207\u6362\u4E3A\u7ECF\u5178\u7248\u672C\uFF0C\u8BF7\u7A0D\u540E\u2026", 14);
    ASSERT_GT(measuringWidth - statusWidth, 30.0f);

    PaintSurface surface(420, 114);
    DrawContentInto(surface);
    const RECT text = m_window->m_rcText;
    const Ink ink = FindInk(surface);
    ASSERT_GT(ink.count, 0);
    EXPECT_LE(ink.left - text.left, 4);
    const int extent = ink.right + 1 - text.left;
    EXPECT_GT(extent, statusWidth - 30.0f);
    EXPECT_LT(extent, (statusWidth + measuringWidth) / 2);
}

// Line alignment centres the text in whatever rectangle it is given, the
// near alignment keeps it at the left, and a narrow rectangle wraps it.
TEST_F(Painting, TextIsCentredVerticallyAndWrapsInANarrowRectangle)
{
    const struct {
        RECT text;
        bool wraps;
    } cases[] = {
        {RECT{30, 4, 390, 104}, false},
        {RECT{100, 60, 400, 110}, false},
        {RECT{30, 10, 130, 110}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << c.text.left << "," << c.text.top << " .. " << c.text.right << ","
                                        << c.text.bottom);
        m_window->m_rcText = c.text;
        m_window->m_rcBar = RECT{0, 0, 0, 0};
        PaintSurface surface(420, 114);
        DrawContentInto(surface);
        const Ink ink = FindInk(surface);
        ASSERT_GT(ink.count, 0);
        EXPECT_TRUE(ink.Inside(c.text));
        EXPECT_LE(ink.left - c.text.left, 4);
        const int inkMiddle = (ink.top + ink.bottom + 1) / 2;
        EXPECT_NEAR(inkMiddle, (c.text.top + c.text.bottom) / 2, 4);
        const int inkHeight = ink.bottom + 1 - ink.top;
        if (c.wraps)
            EXPECT_GT(inkHeight, 40);
        else
            EXPECT_LT(inkHeight, 26);
    }
}

TEST_F(Painting, TheMessageLeavesTheDeviceContextWithItsOwnFont)
{
    PaintSurface surface(420, 114);
    HGDIOBJ own = ::GetStockObject(ANSI_VAR_FONT);
    surface.DC()->SelectObject(own);
    m_window->DrawMessage(surface.DC());
    EXPECT_EQ(::GetCurrentObject(surface.DC()->m_hDC, OBJ_FONT), own);
    ASSERT_NE(m_window->m_font.m_hObject, nullptr);
    EXPECT_NE(::GetCurrentObject(surface.DC()->m_hDC, OBJ_FONT), m_window->m_font.m_hObject);
}

}  // namespace
