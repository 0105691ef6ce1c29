#include "bare_popup_window.h"

namespace {
constexpr wchar_t kClassName[] = L"ClassicSwitchBenchBarePopup";
constexpr wchar_t kDoubleBufferedProperty[] = L"ClassicSwitchBenchDoubleBuffered";
// Set when the colour is not kColor: the colour plus one.
constexpr wchar_t kColorProperty[] = L"ClassicSwitchBenchColor";

COLORREF ColorOf(HWND hWnd)
{
    const auto stored = reinterpret_cast<UINT_PTR>(::GetPropW(hWnd, kColorProperty));
    return stored ? static_cast<COLORREF>(stored - 1) : BarePopupWindow::kColor;
}

void Fill(HDC dc, const RECT& area, COLORREF color)
{
    HBRUSH brush = ::CreateSolidBrush(color);
    ::FillRect(dc, &area, brush);
    ::DeleteObject(brush);
}

void FillThroughMemory(HDC dc, const RECT& client, COLORREF color)
{
    HDC memory = ::CreateCompatibleDC(dc);
    HBITMAP surface = ::CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ previous = ::SelectObject(memory, surface);
    Fill(memory, client, color);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteObject(surface);
    ::DeleteDC(memory);
}

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
        if (::GetPropW(hWnd, kDoubleBufferedProperty))
            FillThroughMemory(dc, client, ColorOf(hWnd));
        else
            Fill(dc, client, ColorOf(hWnd));
        ::EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_NCDESTROY:
        ::RemovePropW(hWnd, kDoubleBufferedProperty);
        ::RemovePropW(hWnd, kColorProperty);
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
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

BarePopupWindow::BarePopupWindow(int x, int y, int width, int height, Paint paint)
{
    RegisterOnce();
    m_hWnd = ::CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE, kClassName, L"bare popup",
                               WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    if (m_hWnd) {
        ::SetLayeredWindowAttributes(m_hWnd, 0, 0, LWA_COLORKEY);
        if (paint == Paint::DoubleBuffered)
            ::SetPropW(m_hWnd, kDoubleBufferedProperty, reinterpret_cast<HANDLE>(1));
        ::UpdateWindow(m_hWnd);
    }
}

void BarePopupWindow::Repaint(COLORREF color)
{
    ::SetPropW(m_hWnd, kColorProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(color) + 1));
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
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
