#include "main_window_app.h"

#include "../window/custom_window.h"
#include "../window/scaling.h"
#include "../window/window_switch_ports.h"
#include "../workflow/run_log.h"
#include "run_log_header.h"
#include "run_log_start.h"
#include "switch_lock.h"
#include "switch_lock_name.h"

#include <memory>

namespace {
constexpr RECT kCreationRect{0, 0, 400, 200};

// Held for the rest of the process once taken: a second switch started for
// the same folder meanwhile would run a second installer into it.
CSwitchLock g_switchLock;

// Open from start-up to the end of the process; the trace writes to it.
RunLog g_runLog;

// The option of the first of the five names that is empty, in the order in
// which start-up tests them, or null when all are given.
const wchar_t* FirstMissingOption(const CCustomWindow& window)
{
    const struct {
        const CString& value;
        const wchar_t* option;
    } names[] = {{window.m_strGalleryName, L"--GalleryName"},
                 {window.m_strTempDir, L"--TempDir"},
                 {window.m_strAppName, L"--AppName"},
                 {window.m_strMiniName, L"--MiniName"},
                 {window.m_strLocalPath, L"--LocalPath"}};
    for (const auto& name : names) {
        if (name.value.IsEmpty())
            return name.option;
    }
    return nullptr;
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
    if (!window->CreateProgressWindow(kCreationRect)) {
        // The window object is gone with its failed window: nothing to trace with.
        StartRunLog(g_runLog, commandLine, nullptr, L"window: not created");
        EndRunLog(g_runLog, 0);
        return FALSE;
    }
    // Without the five names there is nothing to switch. The window exists but
    // no message loop runs, so none of its timers ever fires.
    if (const wchar_t* missing = FirstMissingOption(*window)) {
        StartRunLog(g_runLog, commandLine, window, L"window: not shown");
        CWindowSwitchPorts(*window).Trace(CString(L"quit: ") + missing + L" missing");
        EndRunLog(g_runLog, 0);
        return FALSE;
    }
    // Another switch for this folder is running, or the lock cannot be had:
    // end quietly before anything is shown or touched.
    if (g_switchLock.Acquire(SwitchLockName(window->m_strLocalPath.Str()).c_str()) != CSwitchLock::Outcome::Acquired) {
        StartRunLog(g_runLog, commandLine, window, L"window: not shown");
        CWindowSwitchPorts(*window).Trace(L"quit: another switch for this folder runs");
        EndRunLog(g_runLog, 0);
        return FALSE;
    }

    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    const WindowPlacement placement = CenteredWindowPlacement(window->m_dScale, screenWidth, screenHeight);
    window->SetWindowPos(nullptr, placement.x, placement.y, placement.width, placement.height, SWP_NOZORDER);
    m_pMainWnd = window;
    window->ShowWindow(SW_SHOW);
    ::UpdateWindow(m_pMainWnd->m_hWnd);
    // Only now, after the first paint, so that the log costs the window's
    // appearance nothing; no timer can tick before the message loop runs.
    StartRunLog(g_runLog, commandLine, window, WindowPlacementLine(placement));
    return TRUE;
}

int MainWindow::Run()
{
    const int exitCode = CWinApp::Run();
    EndRunLog(g_runLog, exitCode);
    return exitCode;
}
