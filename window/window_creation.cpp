#include "custom_window.h"

#include "../framework/dwm_api.h"
#include "scaling.h"

#include <dwmapi.h>

namespace {
constexpr wchar_t kFontFace[] = L"Microsoft YaHei";
constexpr wchar_t kWindowTitle[] = L"\u81EA\u5B9A\u4E49\u7A97\u53E3";  // "custom window"
constexpr COLORREF kClassBackground = 0x004A372F;
constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW;
constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE;
constexpr UINT kClassStyle = CS_HREDRAW | CS_VREDRAW;

LOGFONTW MessageLogFont(double scale)
{
    LOGFONTW font{};
    font.lfHeight = ScaledFontHeight(scale);
    font.lfWeight = 500;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = CLEARTYPE_QUALITY;
    font.lfPitchAndFamily = FF_SWISS | DEFAULT_PITCH;
    ::lstrcpynW(font.lfFaceName, kFontFace, LF_FACESIZE);
    return font;
}
}  // namespace

BOOL CCustomWindow::CreateProgressWindow(const RECT& rect)
{
    m_nMarginX = ScaleMetric(m_nMarginX, m_dScale);
    m_nMarginTop = ScaleMetric(m_nMarginTop, m_dScale);
    m_nBarHeight = ScaleMetric(m_nBarHeight, m_dScale);

    const LOGFONTW logFont = MessageLogFont(m_dScale);
    m_font.Attach(::CreateFontIndirectW(&logFont));

    LPCWSTR className = AfxRegisterWndClass(kClassStyle, ::LoadCursorW(nullptr, IDC_ARROW),
                                            ::CreateSolidBrush(kClassBackground), nullptr);
    const RECT scaled = ScaleRect(rect, m_dScale);
    if (!CreateEx(kExStyle, className, kWindowTitle, kStyle, scaled, nullptr, 0))
        return FALSE;  // the frame has deleted this object

    ::SetLayeredWindowAttributes(m_hWnd, 0, 0, LWA_COLORKEY);
    const DWORD policy = DWMNCRP_DISABLED;
    DwmSetWindowAttributeSafe(m_hWnd, DWMWA_NCRENDERING_POLICY, &policy, sizeof(policy));
    ShapeWindow();
    UpdateLayout();

    m_nCreationTick = ::GetTickCount64();
    ::SetTimer(m_hWnd, TIMER_PROGRESS, 50, nullptr);
    ::SetTimer(m_hWnd, TIMER_PREPARE, 100, nullptr);
    ::SetTimer(m_hWnd, TIMER_QUIT, 180000, nullptr);
    return TRUE;
}

// Rounds the corners. The region is the client rectangle grown by one pixel,
// used as window coordinates as it stands; the system owns it once set.
void CCustomWindow::ShapeWindow()
{
    RECT client{0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &client);
    ::InflateRect(&client, 1, 1);
    const int ellipse = 2 * m_nCornerRadius;
    HRGN region = ::CreateRoundRectRgn(client.left, client.top, client.right, client.bottom, ellipse, ellipse);
    if (region && !::SetWindowRgn(m_hWnd, region, TRUE))
        ::DeleteObject(region);
}

void CCustomWindow::OnSize(UINT nType, int cx, int cy)
{
    CFrameWnd::OnSize(nType, cx, cy);
    if (cx <= 0 || cy <= 0)
        return;  // minimized: keep the last shape and layout
    UpdateLayout();
    ShapeWindow();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CCustomWindow::OnDestroy()
{
    // The sequencer never destroys the window; only a close request from
    // outside does, and the framework then ends the program.
    EndSwitchOnClose();
    if (m_bAnimating)
        ::KillTimer(m_hWnd, TIMER_PROGRESS);
    CFrameWnd::OnDestroy();
}
