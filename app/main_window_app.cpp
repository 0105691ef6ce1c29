#include "main_window_app.h"

#include "../window/custom_window.h"
#include "../window/scaling.h"
#include "switch_lock.h"
#include "switch_lock_name.h"

#include <memory>

namespace {
constexpr RECT kCreationRect{0, 0, 400, 200};

// Held for the rest of the process once taken: a second switch started for
// the same folder meanwhile would run a second installer into it.
CSwitchLock g_switchLock;

bool AnyNameMissing(const CCustomWindow& window)
{
    return window.m_strGalleryName.IsEmpty() || window.m_strTempDir.IsEmpty() || window.m_strAppName.IsEmpty() ||
           window.m_strMiniName.IsEmpty() || window.m_strLocalPath.IsEmpty();
}
}  // namespace

BOOL MainWindow::InitInstance()
{
    auto owned = std::make_unique<CCustomWindow>();
    const wchar_t* commandLine = ::GetCommandLineW();
    if (!commandLine)
        return FALSE;
    owned->ParseCommandLine(commandLine);
    // From creation on the frame owns itself: it deletes its object after the
    // window's last message, or at once when the window cannot be created.
    CCustomWindow* window = owned.release();
    if (!window->CreateProgressWindow(kCreationRect))
        return FALSE;  // the window object is gone with its failed window
    // Without the five names there is nothing to switch. The window exists but
    // no message loop runs, so none of its timers ever fires.
    if (AnyNameMissing(*window))
        return FALSE;
    // Another switch for this folder is running, or the lock cannot be had:
    // end quietly before anything is shown or touched.
    if (g_switchLock.Acquire(SwitchLockName(window->m_strLocalPath.Str()).c_str()) != CSwitchLock::Outcome::Acquired)
        return FALSE;

    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const WindowPlacement placement = CenteredWindowPlacement(window->m_dScale, screenWidth, screenHeight);
    window->SetWindowPos(nullptr, placement.x, placement.y, placement.width, placement.height, SWP_NOZORDER);
    m_pMainWnd = window;
    window->ShowWindow(SW_SHOW);
    ::UpdateWindow(m_pMainWnd->m_hWnd);
    return TRUE;
}
