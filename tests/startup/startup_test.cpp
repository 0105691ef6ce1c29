#include "support/child_process.h"
#include "support/process_window.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The program's window once start-up has placed it, or null.
HWND WaitForPlacedWindow(const ChildProcess& process, int width, int height)
{
    return ::WaitForPlacedWindow(process.Id(), process.Handle(), width, height, 2500);
}

// The installer folder does not exist, so no switch can start anything.
std::wstring FiveNames()
{
    return L" --TempDir C:\\no-such-folder --AppName NoSetup.exe --MiniName NoMini.exe"
           L" --GalleryName NoGallery.exe --LocalPath C:/no-such-install";
}

TEST(StartUp, WindowIsSizedToTheScaleAndCentredOnTheScreen)
{
    ASSERT_EQ(::GetSystemMetrics(SM_CXSCREEN), 1920) << "the tests expect a 1920x1080 screen";
    ASSERT_EQ(::GetSystemMetrics(SM_CYSCREEN), 1080);
    const struct {
        const wchar_t* scale;
        RECT expected;
    } cases[] = {
        {L"", {750, 483, 1170, 597}},
        {L" --Scale 1.5", {645, 454, 1275, 625}},
        {L" --Scale 1.25", {697, 469, 1222, 611}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "scale argument:" << c.scale);
        ChildProcess program(Quoted(ProgramUnderTestPath()) + FiveNames() + c.scale);
        ASSERT_TRUE(program.Started());
        HWND hWnd =
            WaitForPlacedWindow(program, c.expected.right - c.expected.left, c.expected.bottom - c.expected.top);
        ASSERT_NE(hWnd, nullptr);
        RECT r{};
        ::GetWindowRect(hWnd, &r);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
        EXPECT_TRUE(::IsWindowVisible(hWnd));
        const LONG_PTR exStyle = ::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
        EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE),
                  WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE);
    }
}

TEST(StartUp, MissingNameEndsWithExitCodeZero)
{
    const wchar_t* commandLines[] = {
        L"",
        L" --Scale 1.5",
        L" --TempDir C:\\t --AppName S.exe --MiniName M.exe --GalleryName G.exe",              // no LocalPath
        L" --TempDir C:\\t --AppName S.exe --MiniName M.exe --LocalPath C:\\x",                // no GalleryName
        L" --TempDir C:\\t --AppName --MiniName M.exe --GalleryName G.exe --LocalPath C:\\x",  // empty AppName
        L" --TempDir C:\\t --TempDir --AppName S.exe --MiniName M.exe --GalleryName G.exe --LocalPath C:\\x",
    };
    for (const wchar_t* arguments : commandLines) {
        SCOPED_TRACE(testing::Message() << arguments);
        ChildProcess program(Quoted(ProgramUnderTestPath()) + arguments);
        ASSERT_TRUE(program.Started());
        DWORD exitCode = 1;
        ASSERT_TRUE(program.Wait(20000, &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
}

TEST(StartUp, CloseRequestDestroysTheWindowAndEndsWithZero)
{
    ChildProcess program(Quoted(ProgramUnderTestPath()) + FiveNames());
    ASSERT_TRUE(program.Started());
    HWND hWnd = WaitForPlacedWindow(program, 420, 114);
    ASSERT_NE(hWnd, nullptr);
    ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.Wait(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
