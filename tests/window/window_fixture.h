#pragma once
#include "window/custom_window.h"

#include <gtest/gtest.h>

inline RECT WindowRect(HWND hWnd)
{
    RECT r{};
    ::GetWindowRect(hWnd, &r);
    return r;
}

// A real progress window created in the test process. The window object
// deletes itself with its window, as in the program; the fixture destroys the
// window if a test has not.
class ProgressWindowTest : public testing::Test {
protected:
    void TearDown() override
    {
        if (m_hWnd && ::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
        PumpMessages();
    }

    CCustomWindow* Create(double scale = 1.0, RECT rect = RECT{0, 0, 400, 200})
    {
        auto* window = new CCustomWindow();
        window->m_dScale = scale;
        if (!window->CreateProgressWindow(rect))
            return nullptr;
        m_hWnd = window->m_hWnd;
        // The timers belong to the switch; these tests look at the window alone.
        for (UINT_PTR id = TIMER_PROGRESS; id <= TIMER_LAUNCH; ++id)
            ::KillTimer(m_hWnd, id);
        return window;
    }

    static void PumpMessages()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    HWND m_hWnd = nullptr;
};
