// The real window's timer dispatch: each id reaches its step, other ids
// change nothing, and the trace leaves the window with its elapsed time.
#include "window/custom_window.h"

#include "support/debug_output_monitor.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool TakeQuitMessage(WPARAM* exitCode)
{
    MSG message;
    if (!::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return false;
    *exitCode = message.wParam;
    return true;
}

// One window for the whole run, as in the program: the animation's and the
// switch's program-wide state carries over from one step to the next.
TEST(TimerDispatch, EachIdReachesItsStepAndOthersOnlyDefaultProcessing)
{
    DebugOutputMonitor monitor;
    ASSERT_TRUE(monitor.Listening());
    auto* window = new CCustomWindow;
    window->m_strTempDir = L"C:\\cs-no-such-folder";
    window->m_strAppName = L"CsNoSuchSetup.exe";
    window->m_strMiniName = L"CsNoSuchMini.exe";
    window->m_strGalleryName = L"CsNoSuchGallery.exe";
    window->m_strLocalPath = L"C:\\cs-no-such-install";
    ASSERT_TRUE(window->CreateProgressWindow(RECT{0, 0, 400, 200}));
    const HWND hwnd = window->m_hWnd;
    WPARAM exitCode = 99;

    for (UINT_PTR id : {0, 5, 99}) {
        ::SendMessageW(hwnd, WM_TIMER, id, 0);
        EXPECT_EQ(window->m_nProgress, 60) << id;
        EXPECT_FALSE(window->m_bInstallerLaunched) << id;
        EXPECT_FALSE(TakeQuitMessage(&exitCode)) << id;
    }

    ::SendMessageW(hwnd, WM_TIMER, TIMER_PROGRESS, 0);
    EXPECT_EQ(window->m_nProgress, 61);

    // Nothing runs and the installer is missing: the attempt is made once.
    ::SendMessageW(hwnd, WM_TIMER, TIMER_PREPARE, 0);
    EXPECT_TRUE(window->m_bInstallerLaunched);
    EXPECT_FALSE(TakeQuitMessage(&exitCode));

    ::SendMessageW(hwnd, WM_TIMER, TIMER_QUIT, 0);
    ASSERT_TRUE(TakeQuitMessage(&exitCode));
    EXPECT_EQ(exitCode, 0u);

    // The last line may still be on its way from the shared buffer to the
    // monitor's list when the call that wrote it returns.
    bool missingTraced = false;
    bool quitTraced = false;
    for (int attempt = 0; attempt < 200 && !(missingTraced && quitTraced); ++attempt) {
        if (attempt)
            ::Sleep(10);
        for (const DebugOutputMonitor::Message& message : monitor.Messages()) {
            if (message.processId != ::GetCurrentProcessId() || message.text.rfind("ClassicSwitch +", 0) != 0)
                continue;
            const size_t unit = message.text.find(" ms: ");
            ASSERT_NE(unit, std::string::npos) << message.text;
            const std::string text = message.text.substr(unit + 5);
            missingTraced |= text == "installer missing: \"C:\\cs-no-such-folder\\CsNoSuchSetup.exe\"\n";
            quitTraced |= text == "quit: installer missing\n";
        }
    }
    EXPECT_TRUE(missingTraced);
    EXPECT_TRUE(quitTraced);

    ::DestroyWindow(hwnd);  // the frame deletes the object
}

// Whether a tick of that timer reaches the window within the time, taken
// from the queue without dispatching it.
bool TimerTicksWithin(HWND hwnd, UINT_PTR id, DWORD ms)
{
    const ULONGLONG end = ::GetTickCount64() + ms;
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE)) {
            if (message.wParam == id)
                return true;
        }
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_TIMER);
    }
}

CCustomWindow* NewWindow()
{
    auto* window = new CCustomWindow;
    if (!window->CreateProgressWindow(RECT{0, 0, 400, 200}))
        return nullptr;
    return window;
}

// The switch gives up while installing: the bar shows its end and the
// animation's timer, armed at 50 ms by creation, never ticks again.
TEST(TimerDispatch, JumpToTheEndStopsTheAnimationForGood)
{
    CCustomWindow* control = NewWindow();
    CCustomWindow* window = NewWindow();
    ASSERT_TRUE(control && window);
    ::SendMessageW(window->m_hWnd, WM_TIMER, TIMER_PROGRESS, 0);
    ASSERT_EQ(window->m_nProgress, 61);

    window->JumpProgressToEnd();
    EXPECT_EQ(window->m_nProgress, 100);
    EXPECT_FALSE(window->m_bAnimating);
    EXPECT_TRUE(window->m_bFinished);

    EXPECT_TRUE(TimerTicksWithin(control->m_hWnd, TIMER_PROGRESS, 1000));
    EXPECT_FALSE(TimerTicksWithin(window->m_hWnd, TIMER_PROGRESS, 300));
    ::SendMessageW(window->m_hWnd, WM_TIMER, TIMER_PROGRESS, 0);
    EXPECT_EQ(window->m_nProgress, 100);

    ::DestroyWindow(window->m_hWnd);
    ::DestroyWindow(control->m_hWnd);
}

}  // namespace
