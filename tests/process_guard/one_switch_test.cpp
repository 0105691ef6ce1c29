#include "process_guard/switch_runs.h"
#include "support/child_process.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Keeps every switch of a test busy: once a switch starts its installer, the
// stand-in runs until the test ends, so the first switch is still running
// whatever the second one does.
class OneSwitchPerFolder : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(m_release, nullptr);
        ::ResetEvent(m_release);
    }

    void TearDown() override
    {
        ::SetEvent(m_release);
        EndProcessesNamed(kInstallerName);  // none left to be counted by the next test
    }

    ~OneSwitchPerFolder() override
    {
        if (m_release)
            ::CloseHandle(m_release);
    }

    std::wstring StartSwitchCommand(const std::wstring& installationFolder) const
    {
        return SwitchCommandLine(ProgramUnderTestPath(), WindowsPathFromUnix(CS_TEST_PROGRAMS_DIR), kInstallerName,
                                 installationFolder);
    }

    // Under Wine, a program ended while it is starting another one can leave
    // that one half-started for good, holding the test runner's output open.
    // So a switch is ended only once the installers it starts are running.
    static void WaitForInstallers(size_t count)
    {
        EXPECT_TRUE(WaitUntilRunningCount(kInstallerName, count)) << count << " installers expected";
    }

    static constexpr wchar_t kInstallerName[] = L"slow_installer.exe";
    HANDLE m_release = ::CreateEventW(nullptr, TRUE, FALSE, L"Local\\ClassicSwitchTests-ReleaseSlowInstaller");
    ScratchFolder m_root{L"one-switch"};
};

TEST_F(OneSwitchPerFolder, SecondSwitchForTheSameFolderEndsAtOnceAndShowsNothing)
{
    ChildProcess first(StartSwitchCommand(m_root.Path() + L"\\Install\\Classic"));
    ASSERT_TRUE(first.Started());
    ASSERT_NE(WaitForPlacedWindow(first.Id(), first.Handle(), 15000), nullptr);

    // The same folder, spelt differently.
    std::wstring alias = m_root.Path() + L"/INSTALL//classic/";
    ChildProcess second(StartSwitchCommand(alias));
    ASSERT_TRUE(second.Started());
    bool secondShowedItsWindow = false;
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (second.Running() && ::GetTickCount64() < deadline) {
        secondShowedItsWindow = secondShowedItsWindow || FindPlacedWindow(second.Id()) != nullptr;
        ::Sleep(5);
    }
    DWORD exitCode = 1;
    ASSERT_TRUE(second.Wait(0, &exitCode)) << "the second switch is still running";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(secondShowedItsWindow);
    EXPECT_TRUE(first.Running());
    EXPECT_NE(FindPlacedWindow(first.Id()), nullptr);
    WaitForInstallers(1);
}

TEST_F(OneSwitchPerFolder, SwitchesForDifferentFoldersRunSideBySide)
{
    ChildProcess first(StartSwitchCommand(m_root.Path() + L"\\Install\\Classic"));
    ASSERT_TRUE(first.Started());
    ASSERT_NE(WaitForPlacedWindow(first.Id(), first.Handle(), 15000), nullptr);

    ChildProcess second(StartSwitchCommand(m_root.Path() + L"\\Install\\Classic2"));
    ASSERT_TRUE(second.Started());
    EXPECT_NE(WaitForPlacedWindow(second.Id(), second.Handle(), 15000), nullptr);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(second.Running());
    WaitForInstallers(2);
}

// The lock goes with its process: after the first switch ends, a new one
// for the same folder runs.
TEST_F(OneSwitchPerFolder, LockIsFreedWhenTheSwitchEnds)
{
    const std::wstring folder = m_root.Path() + L"\\Install\\Classic";
    {
        ChildProcess first(StartSwitchCommand(folder));
        ASSERT_TRUE(first.Started());
        ASSERT_NE(WaitForPlacedWindow(first.Id(), first.Handle(), 15000), nullptr);
        WaitForInstallers(1);
    }
    ChildProcess next(StartSwitchCommand(folder));
    ASSERT_TRUE(next.Started());
    EXPECT_NE(WaitForPlacedWindow(next.Id(), next.Handle(), 15000), nullptr);
    WaitForInstallers(2);
}

}  // namespace
