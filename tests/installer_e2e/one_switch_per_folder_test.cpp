// Two switches started together for one installation folder must not run two
// installers into it: the second ends at once, the first does the whole job.
#include "installer_scene.h"

#include "support/test_paths.h"

namespace {

using OneSwitchPerFolder = InstallerScene;

TEST_F(OneSwitchPerFolder, SecondStartForTheSameFolderLeavesTheSwitchToTheFirst)
{
    PlaceInstaller(UsualInstaller(), 1500);
    DWORD secondExit = 99;
    bool secondEndedWhileFirstRan = false;
    // The same folder spelled another way: in capitals.
    std::wstring alias = UsualArguments(L"--LocalPath") + L" --LocalPath " + Quoted(UsualInstallFolder());
    for (wchar_t& ch : alias) {
        if (ch >= L'a' && ch <= L'z')
            ch = static_cast<wchar_t>(ch - L'a' + L'A');
    }
    const Run run = RunSwitch(UsualArguments(), [&](const ChildProcess& first, const DebugOutputMonitor&) {
        ::Sleep(300);  // the first has its lock and its window by now
        ChildProcess second(Quoted(ProgramUnderTestPath()) + L" " + alias);
        ASSERT_TRUE(second.Started());
        ASSERT_TRUE(second.Wait(20000, &secondExit));
        secondEndedWhileFirstRan = first.Running();
    });
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(secondExit, 0u);
    EXPECT_TRUE(secondEndedWhileFirstRan);
    EXPECT_EQ(InstallerCalls(UsualInstaller()).size(), 1u);
    EXPECT_EQ(ClassicStarts(UsualInstallFolder()).size(), 1u);
}

}  // namespace
