// Switches that end early with exit code 0: the installer is not there, the
// window is asked to close, or a name is missing. Each checks what was, and
// what was not, ended, removed and started.
#include "installer_scene.h"

#include "support/process_window.h"
#include "support/text_files.h"
#include "workflow/process_utils.h"

#include <ostream>

namespace {

using CutShort = InstallerScene;

// Nothing was started by the switch: no installer ran, no Korvane.exe.
void ExpectNothingStarted(const std::wstring& installer, const std::wstring& installFolder)
{
    EXPECT_TRUE(InstallerCalls(installer).empty());
    EXPECT_TRUE(ClassicStarts(installFolder).empty());
    EXPECT_FALSE(IsProcessRunning(L"Korvane.exe"));
}

struct AbsentInstallerCase {
    const char* label;
    bool folderInItsPlace;
    const char* traced;
};

const AbsentInstallerCase kAbsentInstallers[] = {
    {"Missing", false, "installer missing: "},
    {"AFolder", true, "installer is a folder: "},
};

void PrintTo(const AbsentInstallerCase& c, std::ostream* out)
{
    *out << c.label;
}

class AbsentInstaller : public InstallerScene, public testing::WithParamInterface<AbsentInstallerCase> {};

// The start is attempted on the first tick, at 100 ms; the program ends
// 500 ms later.
TEST_P(AbsentInstaller, StartsNothingAndEndsSoon)
{
    const AbsentInstallerCase& c = GetParam();
    if (c.folderInItsPlace) {
        ASSERT_TRUE(CreateFolders(UsualInstaller()));
    }

    const Run run = RunSwitch(UsualArguments());
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_LT(run.wallMs, 10000u);

    ASSERT_FALSE(run.trace.empty());
    EXPECT_NE(FindTraceLine(run.trace, c.traced + ("\"" + AnsiFromWide(UsualInstaller()) + "\"")), nullptr);
    EXPECT_EQ(FindTraceLine(run.trace, "installer started: "), nullptr);
    EXPECT_EQ(FindTraceLine(run.trace, "classic started: "), nullptr);
    EXPECT_EQ(run.trace.back().text, "quit: installer missing");
    EXPECT_GE(run.trace.back().ms, 600);
    EXPECT_LT(run.trace.back().ms, 3000);
    ExpectNothingStarted(UsualInstaller(), UsualInstallFolder());
}

INSTANTIATE_TEST_SUITE_P(Installers, AbsentInstaller, testing::ValuesIn(kAbsentInstallers), CaseLabel());

bool WaitForTraceLine(const DebugOutputMonitor& monitor, DWORD processId, const std::string& start, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (FindTraceLine(SwitchTrace(monitor.Messages(), processId), start))
            return true;
        ::Sleep(50);
    }
    return false;
}

// Closed while the installer works: the program ends at once with 0, and
// the classic edition is never started, not even once the installer is done.
// The mini edition it ended stays ended: the system may be shutting down.
TEST_F(CutShort, ACloseRequestWhileInstallingEndsTheSwitchWithNothingMoreStarted)
{
    PlaceInstaller(UsualInstaller(), 4000);
    StartEdition(L"KorvaneMini.exe");
    ULONGLONG closedAt = 0;
    const Run run = RunSwitch(UsualArguments(), [&](const ChildProcess& program, const DebugOutputMonitor& monitor) {
        ASSERT_TRUE(WaitForTraceLine(monitor, program.Id(), "installer started: ", 10000));
        const HWND window = FindProcessWindow(program.Id());
        ASSERT_NE(window, nullptr);
        closedAt = ::GetTickCount64();
        ::PostMessageW(window, WM_CLOSE, 0, 0);
    });
    const ULONGLONG endedAfterClose = ::GetTickCount64() - closedAt;
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_LT(endedAfterClose, 5000u);
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(run.trace.back().text, "quit: window closed");
    EXPECT_NE(FindTraceLine(run.trace, "ending: \"KorvaneMini.exe\" pass 1"), nullptr);
    EXPECT_NE(FindTraceLine(run.trace, "mini edition not restored: window closed"), nullptr);
    EXPECT_EQ(FindTraceLine(run.trace, "classic started: "), nullptr);

    // The installer finishes on its own; nobody starts Korvane.exe after it.
    for (int i = 0; i < 150 && InstalledInto(UsualInstaller()).empty(); ++i)
        ::Sleep(100);
    EXPECT_EQ(InstalledInto(UsualInstaller()), std::vector<std::wstring>{UsualInstallFolder()});
    ::Sleep(1500);
    EXPECT_EQ(InstallerCalls(UsualInstaller()).size(), 1u);
    EXPECT_TRUE(ClassicStarts(UsualInstallFolder()).empty());
    EXPECT_FALSE(IsProcessRunning(L"Korvane.exe"));
    EXPECT_FALSE(IsProcessRunning(L"KorvaneMini.exe"));
}

struct MissingNameCase {
    const char* label;
    const wchar_t* leftOut;  // the option left out of the usual arguments
    const char* traced;
};

const MissingNameCase kMissingNames[] = {
    {"TempDir", L"--TempDir", "quit: --TempDir missing"},
    {"AppName", L"--AppName", "quit: --AppName missing"},
    {"MiniName", L"--MiniName", "quit: --MiniName missing"},
    {"GalleryName", L"--GalleryName", "quit: --GalleryName missing"},
    {"LocalPath", L"--LocalPath", "quit: --LocalPath missing"},
};

void PrintTo(const MissingNameCase& c, std::ostream* out)
{
    *out << c.label;
}

class MissingName : public InstallerScene, public testing::WithParamInterface<MissingNameCase> {};

// Everything is in place for a switch, but one name is missing: the program
// ends at once; the mini edition keeps running, the settings file stays, the
// installer is not run.
TEST_P(MissingName, EndsAtOnceAndTouchesNothing)
{
    PlaceInstaller(UsualInstaller());
    ChildProcess& mini = StartEdition(L"KorvaneMini.exe");

    const Run run = RunSwitch(UsualArguments(GetParam().leftOut));
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_LT(run.wallMs, 10000u);
    ASSERT_EQ(run.trace.size(), 1u);
    EXPECT_EQ(run.trace[0].text, GetParam().traced);

    ::Sleep(700);  // a tick that wrongly ran would have acted by now
    EXPECT_TRUE(mini.Running());
    EXPECT_TRUE(PathExists(m_settingsFile));
    ExpectNothingStarted(UsualInstaller(), UsualInstallFolder());
}

// An option given with no value counts as missing: here --AppName is
// followed at once by the next option.
TEST_F(CutShort, AnOptionWithoutAValueCountsAsMissing)
{
    PlaceInstaller(UsualInstaller());
    const Run run = RunSwitch(L"--AppName " + UsualArguments(L"--AppName"));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.trace.size(), 1u);
    EXPECT_EQ(run.trace[0].text, "quit: --AppName missing");
    ExpectNothingStarted(UsualInstaller(), UsualInstallFolder());
}

INSTANTIATE_TEST_SUITE_P(Names, MissingName, testing::ValuesIn(kMissingNames), CaseLabel());

}  // namespace
