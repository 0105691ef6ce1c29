#pragma once
#include "framework/noncopyable.h"
#include "framework/win32_base.h"

// The baseline window: a bare Win32 popup with the progress window's styles
// (layered with a black colour key, tool window, client edge, visible
// popup) whose paint fills the client area with one colour through GDI and
// does nothing else. It costs what any window of that kind costs on this
// platform, so the progress window's figures are read against it.
class BarePopupWindow : private CNoCopy {
public:
    static constexpr COLORREF kColor = RGB(47, 55, 74);

    // Double buffered, the paint fills a bitmap made compatible with the
    // paint DC in a memory DC and copies it to the window, the off-screen
    // route that the progress window must take, and nothing more.
    enum class Paint { Direct, DoubleBuffered };

    BarePopupWindow(int x, int y, int width, int height, Paint paint = Paint::Direct);
    ~BarePopupWindow();

    HWND Handle() const { return m_hWnd; }
    // Paints the whole window in another colour from now on, at once.
    void Repaint(COLORREF color);

private:
    HWND m_hWnd = nullptr;
};

// 420 by 114 pixels times the scale, truncated, like the progress window.
SIZE ProgressWindowSize(double scale);
// The top-left corner that centres a window of that size on the screen.
POINT CentredOnScreen(SIZE size);
