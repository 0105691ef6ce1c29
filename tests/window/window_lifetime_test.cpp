#include "window_fixture.h"

namespace {

int g_deleted = 0;

class CountedWindow : public CCustomWindow {
public:
    ~CountedWindow() override { ++g_deleted; }
};

LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    return code == HCBT_CREATEWND ? 1 : ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(ProgressWindowLifetime, FailedCreationDeletesTheObjectAtOnce)
{
    g_deleted = 0;
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, RefuseCreation, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    auto* window = new CountedWindow();
    const BOOL created = window->CreateProgressWindow(RECT{0, 0, 400, 200});
    ::UnhookWindowsHookEx(hook);
    EXPECT_FALSE(created);
    EXPECT_EQ(g_deleted, 1);
}

TEST(ProgressWindowLifetime, DestroyingTheWindowDeletesTheObjectAfterItsLastMessage)
{
    g_deleted = 0;
    auto* window = new CountedWindow();
    ASSERT_TRUE(window->CreateProgressWindow(RECT{0, 0, 400, 200}));
    HWND hWnd = window->m_hWnd;
    EXPECT_EQ(g_deleted, 0);
    ::SendMessageW(hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(g_deleted, 1);
    // A window that is not the main window posts no quit message.
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(ProgressWindowLifetime, DestroyingTheMainWindowPostsQuitWithZero)
{
    CWinApp app;
    auto* window = new CCustomWindow();
    ASSERT_TRUE(window->CreateProgressWindow(RECT{0, 0, 400, 200}));
    app.m_pMainWnd = window;
    ::DestroyWindow(window->m_hWnd);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST(ProgressWindowLifetime, FontIsOwnedAndReleasedWithTheObject)
{
    const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 20; ++i) {
        auto* window = new CCustomWindow();
        ASSERT_TRUE(window->CreateProgressWindow(RECT{0, 0, 400, 200}));
        ::DestroyWindow(window->m_hWnd);
    }
    const DWORD after = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_LE(after, before + 2);  // the class's one brush may be new; nothing per window
}

}  // namespace
