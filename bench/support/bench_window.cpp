#include "bench_window.h"

#include "bare_popup_window.h"

CCustomWindow* CreateBenchWindow(const std::wstring& folder, double scale, POINT topLeft)
{
    auto* window = new CCustomWindow;
    window->m_dScale = scale;
    window->m_strTempDir = folder.c_str();
    window->m_strAppName = L"cs-bench-setup.exe";
    window->m_strMiniName = L"cs-bench-mini.exe";
    window->m_strGalleryName = L"cs-bench-gallery.exe";
    window->m_strLocalPath = (folder + L"\\install").c_str();
    if (!window->CreateProgressWindow(RECT{0, 0, 400, 200}))
        return nullptr;
    for (UINT_PTR id : {TIMER_PROGRESS, TIMER_PREPARE, TIMER_QUIT, TIMER_LAUNCH})
        ::KillTimer(window->m_hWnd, id);
    const SIZE size = ProgressWindowSize(scale);
    window->SetWindowPos(nullptr, topLeft.x, topLeft.y, size.cx, size.cy, SWP_NOZORDER);
    ::UpdateWindow(window->m_hWnd);
    return window;
}
