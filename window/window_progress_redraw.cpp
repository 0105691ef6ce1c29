#include "custom_window.h"

// Repaints the bar and a 2-pixel margin around it at once, without erasing,
// so that each step of the animation shows before the tick returns.
void CCustomWindow::RedrawProgressBar()
{
    if (!::IsWindow(m_hWnd))
        return;
    RECT area = m_rcBar;
    ::InflateRect(&area, 2, 2);
    ::InvalidateRect(m_hWnd, &area, FALSE);
    ::UpdateWindow(m_hWnd);
}
