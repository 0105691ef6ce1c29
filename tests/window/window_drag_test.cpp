#include "window_fixture.h"

namespace {

LPARAM ClientPointFromScreen(HWND hWnd, int x, int y)
{
    POINT p{x, y};
    ::ScreenToClient(hWnd, &p);
    return MAKELPARAM(p.x, p.y);
}

TEST_F(ProgressWindowTest, DragPutsTheOuterCornerAtTheCursorMinusTheAnchor)
{
    CCustomWindow* window = Create();
    ::SetWindowPos(m_hWnd, nullptr, 100, 100, 420, 114, SWP_NOZORDER);
    ::SendMessageW(m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_TRUE(window->m_bDragging);
    EXPECT_EQ(::GetCapture(), m_hWnd);

    ::SendMessageW(m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, ClientPointFromScreen(m_hWnd, 500, 300));
    RECT r = WindowRect(m_hWnd);
    EXPECT_EQ(r.left, 490);
    EXPECT_EQ(r.top, 295);
    EXPECT_EQ(r.right - r.left, 420);  // the size stays

    // A second move follows the cursor from the same anchor.
    ::SendMessageW(m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, ClientPointFromScreen(m_hWnd, 610, 405));
    r = WindowRect(m_hWnd);
    EXPECT_EQ(r.left, 600);
    EXPECT_EQ(r.top, 400);

    ::SendMessageW(m_hWnd, WM_LBUTTONUP, 0, ClientPointFromScreen(m_hWnd, 610, 405));
    EXPECT_FALSE(window->m_bDragging);
    EXPECT_NE(::GetCapture(), m_hWnd);

    ::SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, ClientPointFromScreen(m_hWnd, 50, 50));
    r = WindowRect(m_hWnd);
    EXPECT_EQ(r.left, 600);
    EXPECT_EQ(r.top, 400);
}

TEST_F(ProgressWindowTest, MoveOrReleaseWithoutAPressMovesNothingAndKeepsOtherCaptures)
{
    CCustomWindow* window = Create();
    ::SetWindowPos(m_hWnd, nullptr, 100, 100, 420, 114, SWP_NOZORDER);
    HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::SetCapture(other);

    ::SendMessageW(m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(200, 200));
    ::SendMessageW(m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    const RECT r = WindowRect(m_hWnd);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
    EXPECT_FALSE(window->m_bDragging);
    EXPECT_EQ(::GetCapture(), other);
    ::ReleaseCapture();
    ::DestroyWindow(other);
}

}  // namespace
