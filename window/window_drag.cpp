#include "custom_window.h"

// The window has no caption: the user drags it by any point of its face.
void CCustomWindow::OnLButtonDown(UINT, POINT point)
{
    m_bDragging = TRUE;
    m_ptDragAnchor = point;
    ::SetCapture(m_hWnd);
    Default();
}

void CCustomWindow::OnMouseMove(UINT, POINT point)
{
    if (m_bDragging) {
        ::ClientToScreen(m_hWnd, &point);
        SetWindowPos(nullptr, point.x - m_ptDragAnchor.x, point.y - m_ptDragAnchor.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    Default();
}

void CCustomWindow::OnLButtonUp(UINT, POINT)
{
    if (m_bDragging) {
        m_bDragging = FALSE;
        ::ReleaseCapture();
    }
    Default();
}
