#include "gdi_object_count.h"
#include "painted_window.h"

#include <gtest/gtest.h>

namespace {

using ScreenPaint = PaintedWindow;

// The window's region (its client rectangle grown by a pixel, used as window
// coordinates as it stands) hides the corners and, because the frame's edge
// shifts the client area, a strip at the right and bottom. Only pixels inside
// the region reach the screen.
class VisibleArea {
public:
    explicit VisibleArea(HWND window) : m_region(::CreateRectRgn(0, 0, 0, 0))
    {
        ::GetWindowRgn(window, m_region);
        RECT outer{0, 0, 0, 0};
        POINT origin{0, 0};
        ::GetWindowRect(window, &outer);
        ::ClientToScreen(window, &origin);
        m_offset = POINT{origin.x - outer.left, origin.y - outer.top};
    }
    ~VisibleArea() { ::DeleteObject(m_region); }
    VisibleArea(const VisibleArea&) = delete;
    VisibleArea& operator=(const VisibleArea&) = delete;

    bool Shows(int clientX, int clientY) const
    {
        return ::PtInRegion(m_region, clientX + m_offset.x, clientY + m_offset.y) != FALSE;
    }

private:
    HRGN m_region;
    POINT m_offset{0, 0};
};

TEST_F(ScreenPaint, TheWindowShowsTheOffScreenPictureWithoutShift)
{
    m_window->m_nProgress = 73;
    PaintNow(nullptr);
    PaintSurface expected(420, 114), shown(420, 114);
    DrawContentLikeOnPaint(expected);
    ReadScreen(shown);
    const VisibleArea visible(m_hWnd);
    int compared = 0;
    for (int y = 0; y < 114; ++y) {
        for (int x = 0; x < 420; ++x) {
            if (!visible.Shows(x, y))
                continue;
            ASSERT_TRUE(SameColor(shown.At(x, y), expected.At(x, y))) << x << "," << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 40000);
}

// An animation step repaints only the bar grown by 2 pixels. Everything
// outside that area keeps the last full picture, though the whole picture is
// drawn off screen; inside it the new picture shows.
TEST_F(ScreenPaint, APaintOfTheBarAreaChangesNothingOutsideIt)
{
    m_window->m_nProgress = 60;
    PaintNow(nullptr);
    PaintSurface before(420, 114);
    ReadScreen(before);

    m_window->m_nProgress = 95;
    m_window->m_clrBack = RgbColor{10, 200, 10};  // would show everywhere if painted
    const RECT area = [this] {
        RECT r = m_window->m_rcBar;
        ::InflateRect(&r, 2, 2);
        return r;
    }();
    PaintNow(&area);
    PaintSurface after(420, 114), expected(420, 114);
    ReadScreen(after);
    DrawContentLikeOnPaint(expected);

    const VisibleArea visible(m_hWnd);
    for (int y = 0; y < 114; ++y) {
        for (int x = 0; x < 420; ++x) {
            if (!visible.Shows(x, y))
                continue;
            const RgbColor want = Contains(area, x, y) ? expected.At(x, y) : before.At(x, y);
            ASSERT_TRUE(SameColor(after.At(x, y), want))
                << x << "," << y << (Contains(area, x, y) ? " inside" : " outside");
        }
    }
    EXPECT_TRUE(SameColor(
        after.At(m_window->m_rcBar.left + 300, (m_window->m_rcBar.top + m_window->m_rcBar.bottom) / 2), kFill));
}

// The counter itself must see objects come and go, or the leak check below
// would pass whatever the paint does.
TEST(GdiObjectCounter, SeesObjectsCreatedAndDeleted)
{
    const DWORD before = GdiObjectCount();
    HBRUSH brushes[10];
    for (HBRUSH& brush : brushes)
        brush = ::CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(GdiObjectCount(), before + 10);
    for (HBRUSH brush : brushes)
        ::DeleteObject(brush);
    EXPECT_EQ(GdiObjectCount(), before);
}

// Every paint creates its memory context, bitmap and GDI+ objects and deletes
// them again, so the process's count of GDI objects does not grow.
TEST_F(ScreenPaint, AThousandPaintsLeaveTheGdiObjectCountUnchanged)
{
    PaintNow(nullptr);
    const DWORD before = GdiObjectCount();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 1000; ++i) {
        m_window->m_nProgress = 60 + i % 40;
        PaintNow(nullptr);
    }
    EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
