#include "custom_window.h"

#include "../framework/gdiplus_api.h"

BEGIN_MESSAGE_MAP(CCustomWindow, CFrameWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_NCPAINT()
    ON_WM_NCACTIVATE()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CCustomWindow::CCustomWindow()
{
    Gdiplus::GdiplusStartupInput input;  // version 1, no callback, background thread, codecs
    Gdip().GdiplusStartup(&m_gdiplusToken, &input, nullptr);
    // Set whatever the status: shutdown is harmless for a token that never started.
    m_bGdiplusStarted = TRUE;
}

CCustomWindow::~CCustomWindow()
{
    m_font.DeleteObject();
    if (m_bGdiplusStarted)
        Gdip().GdiplusShutdown(m_gdiplusToken);
}

// The whole client area is painted by OnPaint from an off-screen copy; an
// erase in between would only flicker.
BOOL CCustomWindow::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

// The window is borderless in appearance: its non-client area is never drawn
// and activation changes redraw nothing.
void CCustomWindow::OnNcPaint() {}

BOOL CCustomWindow::OnNcActivate(BOOL)
{
    return TRUE;
}
