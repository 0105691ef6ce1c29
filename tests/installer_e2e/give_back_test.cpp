// A switch that cannot finish gives the user back the mini edition it ended,
// started again from the file it ran from; a switch that finishes, or a mini
// edition that is already back, starts nothing more. The mini edition's
// stand-in records every start with its own path and working folder.
#include "installer_scene.h"

#include "support/test_paths.h"
#include "support/text_files.h"
#include "workflow/exe_name_match.h"
#include "workflow/process_utils.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct MiniStart {
    std::wstring path;
    std::wstring workingFolder;
};

class GiveBack : public InstallerScene {
protected:
    // The mini edition's stand-in in a folder of its own, with a space in
    // its name, away from every other folder of the run.
    std::wstring MiniPath() const { return m_root + L"\\Mini Home\\KorvaneMini.exe"; }
    std::wstring MiniFolder() const { return m_root + L"\\Mini Home"; }

    void PlaceMini()
    {
        ASSERT_TRUE(CreateFolders(MiniFolder()));
        ASSERT_TRUE(::CopyFileW(TestProgramPath(L"gui_mini.exe").c_str(), MiniPath().c_str(), FALSE));
    }

    ChildProcess& StartMini()
    {
        PlaceMini();
        ChildProcess& mini = Start(Quoted(MiniPath()) + L" 60000", L"KorvaneMini.exe");
        EXPECT_TRUE(WaitForStarts(1));
        return mini;
    }

    std::vector<MiniStart> MiniStarts() const
    {
        std::vector<MiniStart> starts;
        for (const std::wstring& line : ReadTextLines(MiniFolder() + L"\\mini_started.txt")) {
            const size_t tab = line.find(L'\t');
            starts.push_back(MiniStart{line.substr(0, tab), tab == std::wstring::npos ? L"" : line.substr(tab + 1)});
        }
        return starts;
    }

    bool WaitForStarts(size_t count) const
    {
        for (int i = 0; i < 100; ++i) {
            if (MiniStarts().size() >= count)
                return true;
            ::Sleep(50);
        }
        return false;
    }

    // The installer's stand-in without the classic edition beside it: it
    // runs for 1.5 s and fails, leaving no Korvane.exe behind.
    void PlaceInstallerThatInstallsNothing()
    {
        ASSERT_TRUE(CreateFolders(m_root + L"\\Installer"));
        ASSERT_TRUE(::CopyFileW(TestProgramPath(L"gui_installer.exe").c_str(), UsualInstaller().c_str(), FALSE));
    }
};

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return AsciiLowerCase(a.c_str()) == AsciiLowerCase(b.c_str());
}

// The text after "result " in a trace line, as a number; -1 when absent.
long ResultOf(const TraceLine& line)
{
    const size_t at = line.text.rfind(" result ");
    return at == std::string::npos ? -1 : std::strtol(line.text.c_str() + at + 8, nullptr, 10);
}

// The path read before the first end, and the restart from it just before
// the quit, with a start result that says it started.
void ExpectRestoredFrom(const std::vector<TraceLine>& trace, const std::wstring& miniPath)
{
    const std::string quoted = "\"" + AnsiFromWide(miniPath) + "\"";
    const TraceLine* remembered = FindTraceLine(trace, "mini edition path: ");
    const TraceLine* ended = FindTraceLine(trace, "ending: \"KorvaneMini.exe\" pass 1");
    const TraceLine* restored = FindTraceLine(trace, "mini edition restored: ");
    ASSERT_TRUE(remembered && ended && restored);
    EXPECT_EQ(AsciiLowerCase(WideFromUtf8(remembered->text).c_str()),
              AsciiLowerCase(WideFromUtf8("mini edition path: " + quoted).c_str()));
    EXPECT_LT(TraceIndex(trace, remembered), TraceIndex(trace, ended));
    EXPECT_EQ(TraceIndex(trace, restored), static_cast<long long>(trace.size()) - 2);
    EXPECT_NE(AsciiLowerCase(WideFromUtf8(restored->text).c_str()).find(AsciiLowerCase(WideFromUtf8(quoted).c_str())),
              std::wstring::npos);
    EXPECT_GT(ResultOf(*restored), 32);
    EXPECT_EQ(CountTraceLines(trace, "mini edition restored: "), 1);
}

// The mini edition runs again afterwards: the very file it ran from, in its
// own folder, started once.
void ExpectMiniBack(const std::vector<MiniStart>& starts, const std::wstring& miniPath, const std::wstring& folder)
{
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_TRUE(SamePath(starts[1].path, miniPath)) << AnsiFromWide(starts[1].path);
    EXPECT_TRUE(SamePath(starts[1].workingFolder, folder)) << AnsiFromWide(starts[1].workingFolder);
    EXPECT_TRUE(IsProcessRunning(L"KorvaneMini.exe"));
}

TEST_F(GiveBack, AMissingInstallerGivesTheMiniEditionBackFromItsOwnFolder)
{
    ChildProcess& mini = StartMini();

    const Run run = RunSwitch(UsualArguments());
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(EndsWithCode(mini, 0));  // ended by the switch first
    ASSERT_GE(run.trace.size(), 2u);
    EXPECT_EQ(run.trace.back().text, "quit: installer missing");
    EXPECT_LT(run.trace.back().ms, 3000);
    ExpectRestoredFrom(run.trace, MiniPath());

    ASSERT_TRUE(WaitForStarts(2));
    ::Sleep(1000);  // a second restart would have come by now
    ExpectMiniBack(MiniStarts(), MiniPath(), MiniFolder());
    std::printf("%s", TraceListing(run.trace).c_str());
}

// The installer runs and fails: Korvane.exe cannot be started, and the run
// ends 500 ms later, not at the deadline, with the mini edition back.
TEST_F(GiveBack, AnInstallerThatInstallsNothingEndsTheRunSoonAfterKorvaneCannotStart)
{
    PlaceInstallerThatInstallsNothing();
    ChildProcess& mini = StartMini();

    const Run run = RunSwitch(UsualArguments());
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended) << "still running after a minute";
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(EndsWithCode(mini, 0));
    EXPECT_EQ(InstallerCalls(UsualInstaller()).size(), 1u);  // it did run

    const TraceLine* failed = FindTraceLine(
        run.trace, "classic start failed: \"" + AnsiFromWide(UsualInstallFolder() + L"\\Korvane.exe") + "\" result ");
    ASSERT_NE(failed, nullptr);
    EXPECT_GE(ResultOf(*failed), 0);
    EXPECT_LE(ResultOf(*failed), 32);
    EXPECT_EQ(FindTraceLine(run.trace, "classic started: "), nullptr);
    EXPECT_EQ(run.trace.back().text, "quit: classic edition start failed");
    EXPECT_GE(run.trace.back().ms - failed->ms, 450);
    EXPECT_LE(run.trace.back().ms - failed->ms, 1500);
    EXPECT_LT(run.wallMs, 15000u);
    ExpectRestoredFrom(run.trace, MiniPath());

    ASSERT_TRUE(WaitForStarts(2));
    ::Sleep(1000);
    ExpectMiniBack(MiniStarts(), MiniPath(), MiniFolder());
    std::printf("quit %lld ms after the failed start; %llu ms in all\n", run.trace.back().ms - failed->ms, run.wallMs);
}

TEST_F(GiveBack, AWholeSwitchDoesNotStartTheMiniEditionAgain)
{
    PlaceInstaller(UsualInstaller());
    ChildProcess& mini = StartMini();

    const Run run = RunSwitch(UsualArguments());
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(EndsWithCode(mini, 0));
    ASSERT_GE(run.trace.size(), 2u);
    EXPECT_EQ(run.trace[run.trace.size() - 2].text, "mini edition not restored: switch succeeded");
    EXPECT_EQ(run.trace.back().text, "quit: classic edition running");
    EXPECT_TRUE(IsProcessRunning(L"Korvane.exe"));

    ::Sleep(1500);  // a restart would have been recorded by now
    EXPECT_EQ(MiniStarts().size(), 1u);
    EXPECT_FALSE(IsProcessRunning(L"KorvaneMini.exe"));
}

// A watchdog keeps the mini edition running: the switch ends it six times,
// finds the installer missing, and at its end the mini edition runs again
// already. Every start of it is the first one or the watchdog's.
TEST_F(GiveBack, AMiniEditionKeptRunningByAWatchdogIsNotStartedTwice)
{
    PlaceMini();
    Start(Quoted(TestProgramPath(L"gui_restarter.exe")) + L" 60000 " + Quoted(MiniPath()), L"KorvaneMini.exe");
    ASSERT_TRUE(WaitUntilRunning(L"KorvaneMini.exe"));

    const Run run = RunSwitch(UsualArguments());
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_GE(run.trace.size(), 2u);
    EXPECT_EQ(run.trace[run.trace.size() - 2].text, "mini edition not restored: mini edition running");
    EXPECT_EQ(run.trace.back().text, "quit: installer missing");
    EXPECT_EQ(CountTraceLines(run.trace, "ending: \"KorvaneMini.exe\" pass "), 6);

    ::Sleep(1500);
    const std::vector<std::wstring> ends = ReadTextLines(MiniFolder() + L"\\restarts.txt");
    EXPECT_EQ(ends, std::vector<std::wstring>(6, L"ended 0"));
    EXPECT_EQ(MiniStarts().size(), 1 + ends.size());
    EXPECT_TRUE(IsProcessRunning(L"KorvaneMini.exe"));
}

}  // namespace
