#include "painted_window.h"

void PaintedWindow::SetUp()
{
    CreateWindowWithClient(420, 114);
}

void PaintedWindow::TearDown()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

void PaintedWindow::CreateWindowWithClient(int clientWidth, int clientHeight, double scale)
{
    TearDown();
    m_window = new CCustomWindow;
    m_window->m_dScale = scale;
    m_hWnd = nullptr;
    ASSERT_TRUE(m_window->CreateProgressWindow(RECT{0, 0, 400, 200}));
    m_hWnd = m_window->m_hWnd;
    for (UINT_PTR id : {TIMER_PROGRESS, TIMER_PREPARE, TIMER_QUIT, TIMER_LAUNCH})
        ::KillTimer(m_hWnd, id);
    // The outer size that gives the wanted client size, whatever the frame's
    // edge takes.
    RECT window{0, 0, 0, 0}, client{0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    const int edgeX = (window.right - window.left) - client.right;
    const int edgeY = (window.bottom - window.top) - client.bottom;
    m_window->SetWindowPos(nullptr, 200, 200, clientWidth + edgeX, clientHeight + edgeY, SWP_NOZORDER);
    const RECT sized = Client();
    ASSERT_EQ(sized.right, clientWidth);
    ASSERT_EQ(sized.bottom, clientHeight);
    PaintNow(nullptr);
}

RECT PaintedWindow::Client() const
{
    RECT client{0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &client);
    return client;
}

void PaintedWindow::DrawContentLikeOnPaint(PaintSurface& surface)
{
    CClientDC window(m_hWnd);
    CDC memory;
    memory.CreateCompatibleDC(&window);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&window, surface.Width(), surface.Height());
    const HGDIOBJ previous = memory.SelectObject(&bitmap);
    m_window->DrawContent(&memory);
    surface.DC()->BitBlt(0, 0, surface.Width(), surface.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(previous);
}

void PaintedWindow::ReadScreen(PaintSurface& surface) const
{
    HDC screen = ::GetDC(m_hWnd);
    ::BitBlt(surface.DC()->m_hDC, 0, 0, surface.Width(), surface.Height(), screen, 0, 0, SRCCOPY);
    ::ReleaseDC(m_hWnd, screen);
}

void PaintedWindow::PaintNow(const RECT* area) const
{
    ::InvalidateRect(m_hWnd, area, FALSE);
    ::UpdateWindow(m_hWnd);
}
