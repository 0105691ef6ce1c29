#include "window_fixture.h"

#include <string>

namespace {

TEST_F(ProgressWindowTest, HasTheStylesOfABorderlessLayeredToolWindow)
{
    CCustomWindow* window = Create();
    ASSERT_NE(window, nullptr);
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE), WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_CHILD), 0);
    // The frame adds a client edge to everything it creates.
    EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE),
              WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE);
    EXPECT_EQ(::GetClassLongPtrW(m_hWnd, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(reinterpret_cast<HCURSOR>(::GetClassLongPtrW(m_hWnd, GCLP_HCURSOR)), ::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(::GetClassLongPtrW(m_hWnd, GCLP_HICON), 0u);

    wchar_t title[32] = {};
    ::GetWindowTextW(m_hWnd, title, 32);
    EXPECT_EQ(std::wstring(title), L"\u81EA\u5B9A\u4E49\u7A97\u53E3");

    COLORREF key = 1;
    BYTE alpha = 1;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(m_hWnd, &key, &alpha, &flags));
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
}

TEST_F(ProgressWindowTest, CreationRectangleAndMetricsFollowTheScale)
{
    struct Case {
        double scale;
        int width, height, marginX, marginTop, barHeight;
        LONG fontHeight;
    } cases[] = {{1.0, 400, 200, 30, 24, 6, -20},
                 {1.5, 600, 300, 45, 36, 9, -30},
                 // 1.15 x 20 is exactly 23.0 in double precision (the exact
                 // product lies half-way between two doubles and rounds to even).
                 {1.15, 459, 229, 34, 27, 6, -23}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        CCustomWindow* window = Create(c.scale);
        ASSERT_NE(window, nullptr);
        const RECT r = WindowRect(m_hWnd);
        EXPECT_EQ(r.right - r.left, c.width);
        EXPECT_EQ(r.bottom - r.top, c.height);
        EXPECT_EQ(window->m_nMarginX, c.marginX);
        EXPECT_EQ(window->m_nMarginTop, c.marginTop);
        EXPECT_EQ(window->m_nBarHeight, c.barHeight);
        EXPECT_NE(window->m_font.GetSafeHandle(), nullptr);
        LOGFONTW font{};
        ::GetObjectW(window->m_font.GetSafeHandle(), sizeof(font), &font);
        EXPECT_EQ(font.lfHeight, c.fontHeight);
        EXPECT_EQ(font.lfWeight, 500);
        EXPECT_EQ(std::wstring(font.lfFaceName), L"Microsoft YaHei");
        ::DestroyWindow(m_hWnd);
        PumpMessages();
    }
}

TEST_F(ProgressWindowTest, RegionIsTheClientAreaGrownByOnePixelWithRoundCorners)
{
    for (double scale : {1.0, 2.0}) {
        SCOPED_TRACE(scale);
        Create(scale);
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(::GetWindowRgn(m_hWnd, region), ERROR);
        const int w = client.right, h = client.bottom;
        // Compared with the same round rectangle made afresh: GDI's own
        // rasterisation of the corners is the reference, not ours.
        HRGN expected = ::CreateRoundRectRgn(-1, -1, w + 1, h + 1, 16, 16);
        RECT box{}, expectedBox{};
        ::GetRgnBox(region, &box);
        ::GetRgnBox(expected, &expectedBox);
        EXPECT_TRUE(::EqualRect(&box, &expectedBox));
        EXPECT_EQ(box.left, -1);
        EXPECT_EQ(box.top, -1);
        for (POINT p : {POINT{w / 2, -1}, POINT{-1, h / 2}, POINT{w / 2, h / 2}, POINT{-1, -1}, POINT{0, 0},
                        POINT{w - 1, h - 1}, POINT{w, 0}, POINT{2, 2}, POINT{w - 3, h - 3}})
            EXPECT_EQ(::PtInRegion(region, p.x, p.y), ::PtInRegion(expected, p.x, p.y)) << p.x << "," << p.y;
        // The corners are cut: the grown rectangle's own corner is outside.
        EXPECT_FALSE(::PtInRegion(region, -1, -1));
        EXPECT_TRUE(::PtInRegion(region, w / 2, -1));
        ::DeleteObject(expected);
        ::DeleteObject(region);
        ::DestroyWindow(m_hWnd);
        PumpMessages();
    }
}

TEST_F(ProgressWindowTest, ResizingReshapesAndLaysOutAgainButAZeroSizeChangesNothing)
{
    CCustomWindow* window = Create();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 420, 114, SWP_NOZORDER | SWP_NOMOVE);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    EXPECT_EQ(window->m_rcBar.right, client.right - 30);
    EXPECT_EQ(window->m_rcText.right, client.right - 30);

    const RECT text = window->m_rcText;
    const RECT bar = window->m_rcBar;
    HRGN before = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(m_hWnd, before);
    ::SendMessageW(m_hWnd, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    ::SendMessageW(m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(200, 0));
    EXPECT_TRUE(::EqualRect(&text, &window->m_rcText));
    EXPECT_TRUE(::EqualRect(&bar, &window->m_rcBar));
    HRGN after = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(m_hWnd, after);
    EXPECT_TRUE(::EqualRgn(before, after));
    ::DeleteObject(before);
    ::DeleteObject(after);
}

TEST_F(ProgressWindowTest, RealFontMeasuresALineAndTheBarLiesBelowIt)
{
    CCustomWindow* window = Create();
    const int textHeight = window->m_rcText.bottom - window->m_rcText.top;
    EXPECT_GT(textHeight, 10);
    EXPECT_LT(textHeight, 60);
    EXPECT_EQ(window->m_rcText.left, 30);
    EXPECT_EQ(window->m_rcText.top, 24);
    EXPECT_EQ(window->m_rcBar.left, 30);
    EXPECT_EQ(window->m_rcBar.top, window->m_rcText.bottom + 24);
    EXPECT_EQ(window->m_rcBar.bottom - window->m_rcBar.top, 6);
}

TEST_F(ProgressWindowTest, TrivialHandlersAnswerWithoutDefaultProcessing)
{
    CCustomWindow* window = Create();
    HDC dc = ::GetDC(m_hWnd);
    EXPECT_EQ(::SendMessageW(m_hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), TRUE);
    ::ReleaseDC(m_hWnd, dc);
    EXPECT_EQ(::SendMessageW(m_hWnd, WM_NCACTIVATE, TRUE, 0), TRUE);
    EXPECT_EQ(::SendMessageW(m_hWnd, WM_NCACTIVATE, FALSE, 0), TRUE);

    // A timer that is none of the window's own changes nothing.
    const int progress = window->m_nProgress;
    ::SendMessageW(m_hWnd, WM_TIMER, 77, 0);
    EXPECT_EQ(window->m_nProgress, progress);
    EXPECT_FALSE(window->m_bInstallerLaunched);
}

}  // namespace
