#include "bare_popup_window.h"

namespace {
constexpr wchar_t kClassName[] = L"ClassicSwitchBenchBarePopup";

LRESULT CALLBACK BarePopupProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(hWnd, &paint);
        RECT client;
        ::GetClientRect(hWnd, &client);
        HBRUSH brush = ::CreateSolidBrush(BarePopupWindow::kColor);
        ::FillRect(dc, &client, brush);
        ::DeleteObject(brush);
        ::EndPaint(hWnd, &paint);
        return 0;
    }
    default:
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
}

void RegisterOnce()
{
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = BarePopupProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
}
}  // namespace

BarePopupWindow::BarePopupWindow(int x, int y, int width, int height)
{
    RegisterOnce();
    m_hWnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE, kClassName, L"bare popup",
                               WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    if (m_hWnd) {
        ::SetLayeredWindowAttributes(m_hWnd, 0, 0, LWA_COLORKEY);
        ::UpdateWindow(m_hWnd);
    }
}

BarePopupWindow::~BarePopupWindow()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

SIZE ProgressWindowSize(double scale)
{
    return SIZE{static_cast<LONG>(420 * scale), static_cast<LONG>(114 * scale)};
}

POINT CentredOnScreen(SIZE size)
{
    return POINT{(::GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2, (::GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2};
}
