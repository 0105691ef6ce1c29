// Whole switches with the real NSIS installer: the editions are ended, the
// settings file removed, the installer run silently into the installation
// folder, and Korvane.exe started from there, for command lines written in
// the ways the mini edition may write them.
#include "installer_scene.h"

#include "support/test_paths.h"
#include "support/text_files.h"
#include "workflow/exe_name_match.h"
#include "workflow/process_utils.h"

#include <cstdio>
#include <ostream>

namespace {

// {R} stands for the scene's root folder, {R/} for the same written with "/".
struct CommandLineCase {
    const char* label;
    const wchar_t* installerOnDisk;
    const wchar_t* arguments;  // after the program's path, exactly as passed
    const wchar_t* appName;    // --AppName as given: the process waited for
    const wchar_t* miniName;   // as given: the name the switch ends
    const wchar_t* galleryName;
    const wchar_t* startedInstaller;  // the installer's path as the switch starts it
    const wchar_t* installFolder;     // what it passes after /D=, and where Korvane.exe runs from
};

// The Chinese folder and file names: 下载 文件 (downloads), 柯尔万安装.exe
// (Korvane setup), 程序\经典 版 (programs\classic edition).
const CommandLineCase kCommandLines[] = {
    {"SpacesAsSeparateWords", L"{R}\\Installer Dir\\Korvane Setup.exe",
     L"--TempDir {R}\\Installer Dir --AppName Korvane Setup.exe --MiniName KorvaneMini.exe"
     L" --GalleryName KorvaneGallery.exe --LocalPath {R/}/Program Files/Korvane App",
     L"Korvane Setup.exe", L"KorvaneMini.exe", L"KorvaneGallery.exe", L"{R}\\Installer Dir\\Korvane Setup.exe",
     L"{R}\\Program Files\\Korvane App"},
    {"SpacesInOneQuotedArgument", L"{R}\\Installer Dir\\Korvane Setup.exe",
     L"--TempDir \"{R}\\Installer Dir\" --AppName \"Korvane Setup.exe\" --MiniName KorvaneMini.exe"
     L" --GalleryName KorvaneGallery.exe --LocalPath \"{R}\\Program Files\\Korvane App\"",
     L"Korvane Setup.exe", L"KorvaneMini.exe", L"KorvaneGallery.exe", L"{R}\\Installer Dir\\Korvane Setup.exe",
     L"{R}\\Program Files\\Korvane App"},
    {"ChineseFolders", L"{R}\\\u4E0B\u8F7D \u6587\u4EF6\\\u67EF\u5C14\u4E07\u5B89\u88C5.exe",
     L"--TempDir \"{R}\\\u4E0B\u8F7D \u6587\u4EF6\" --AppName \u67EF\u5C14\u4E07\u5B89\u88C5.exe"
     L" --MiniName KorvaneMini.exe --GalleryName KorvaneGallery.exe --LocalPath \"{R}\\\u7A0B\u5E8F\\\u7ECF\u5178 "
     L"\u7248\"",
     L"\u67EF\u5C14\u4E07\u5B89\u88C5.exe", L"KorvaneMini.exe", L"KorvaneGallery.exe",
     L"{R}\\\u4E0B\u8F7D \u6587\u4EF6\\\u67EF\u5C14\u4E07\u5B89\u88C5.exe", L"{R}\\\u7A0B\u5E8F\\\u7ECF\u5178 \u7248"},
    // A trailing "/" in --TempDir gives a doubled separator, passed on as it is.
    {"ForwardSlashesAndOtherLetterCase", L"{R}\\Installer\\Korvane-Setup.exe",
     L"--tempdir {R/}/Installer/ --APPNAME KORVANE-SETUP.EXE --miniNAME korvanemini.EXE"
     L" --GALLERYNAME KORVANEGALLERY.exe --localpath {R}\\Korvane",
     L"KORVANE-SETUP.EXE", L"korvanemini.EXE", L"KORVANEGALLERY.exe", L"{R}\\Installer\\\\KORVANE-SETUP.EXE",
     L"{R}\\Korvane"},
};

void PrintTo(const CommandLineCase& c, std::ostream* out)
{
    *out << c.label;
}

class WholeSwitch : public InstallerScene, public testing::WithParamInterface<CommandLineCase> {};

std::string Quote(const std::wstring& text)
{
    return "\"" + AnsiFromWide(text) + "\"";
}

TEST_P(WholeSwitch, EndsTheEditionsInstallsAndStartsTheClassicEdition)
{
    const CommandLineCase& c = GetParam();
    const std::wstring installer = InRoot(c.installerOnDisk);
    const std::wstring installFolder = InRoot(c.installFolder);
    PlaceInstaller(installer);
    ChildProcess& mini = StartEdition(L"KorvaneMini.exe");
    ChildProcess& gallery = StartEdition(L"KorvaneGallery.exe");

    const Run run = RunSwitch(InRoot(c.arguments));
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended) << "the switch did not end within a minute";
    EXPECT_EQ(run.exitCode, 0u);

    // Both editions were ended by the switch: exit code 0, not their own 7.
    EXPECT_TRUE(EndsWithCode(mini, 0));
    EXPECT_TRUE(EndsWithCode(gallery, 0));
    EXPECT_FALSE(PathExists(m_settingsFile));

    // The installer ran once, silently, and understood the folder whole.
    EXPECT_EQ(InstallerCalls(installer), std::vector<std::wstring>{Quoted(InRoot(c.startedInstaller)) + L" /S"});
    EXPECT_EQ(InstalledInto(installer), std::vector<std::wstring>{installFolder});

    // Korvane.exe was started from the installation folder, once, and runs.
    const std::vector<std::wstring> starts = ClassicStarts(installFolder);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(AsciiLowerCase(starts[0].c_str()), AsciiLowerCase((installFolder + L"\\Korvane.exe").c_str()));
    EXPECT_TRUE(IsProcessRunning(L"Korvane.exe"));

    // The trace tells the same story in this order. It passes through the
    // ANSI code page, where Chinese characters may become "?".
    const std::vector<TraceLine>& trace = run.trace;
    const TraceLine* removed = FindTraceLine(trace, "settings removed: " + Quote(m_settingsFile));
    const TraceLine* endMini = FindTraceLine(trace, "ending: " + Quote(c.miniName) + " pass 1");
    const TraceLine* endGallery = FindTraceLine(trace, "ending: " + Quote(c.galleryName) + " pass 1");
    const TraceLine* installing = FindTraceLine(trace, "installer started: " + Quote(InRoot(c.startedInstaller)) +
                                                           " /S /D=" + AnsiFromWide(installFolder));
    const TraceLine* installed = FindTraceLine(trace, "installer ended: " + Quote(c.appName));
    const TraceLine* classic = FindTraceLine(trace, "classic started: " + Quote(installFolder + L"\\Korvane.exe"));
    ASSERT_TRUE(removed && endMini && endGallery && installing && installed && classic);
    EXPECT_LT(TraceIndex(trace, removed), TraceIndex(trace, endMini));
    EXPECT_LT(TraceIndex(trace, endGallery), TraceIndex(trace, installing));
    EXPECT_LT(TraceIndex(trace, installing), TraceIndex(trace, installed));
    EXPECT_LT(TraceIndex(trace, installed), TraceIndex(trace, classic));
    EXPECT_EQ(trace.back().text, "quit: classic edition running");
    EXPECT_EQ(CountTraceLines(trace, "ending: "), 2);
    EXPECT_EQ(CountTraceLines(trace, "installer started: "), 1);
    EXPECT_EQ(CountTraceLines(trace, "classic started: "), 1);
    std::printf("%s: %llu ms\n%s", c.label, run.wallMs, TraceListing(trace).c_str());
}

INSTANTIATE_TEST_SUITE_P(CommandLines, WholeSwitch, testing::ValuesIn(kCommandLines), CaseLabel());

using SwitchWithRealInstaller = InstallerScene;

// A watchdog starts the mini edition again whenever it ends: each pass ends
// it and removes the settings file, and after the sixth pass the installer
// is started all the same, with the mini edition still running.
TEST_F(SwitchWithRealInstaller, AMiniEditionThatKeepsComingBackHoldsTheInstallerBackForSixPasses)
{
    PlaceInstaller(UsualInstaller());
    const std::wstring mini = PlaceStandIn(L"Running", L"KorvaneMini.exe");
    Start(Quoted(TestProgramPath(L"gui_restarter.exe")) + L" 60000 " + Quoted(mini), L"KorvaneMini.exe");
    ASSERT_TRUE(WaitUntilRunning(L"KorvaneMini.exe"));

    const Run run = RunSwitch(UsualArguments());
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);

    const std::vector<TraceLine>& trace = run.trace;
    EXPECT_EQ(CountTraceLines(trace, "ending: \"KorvaneMini.exe\" pass "), 6);
    EXPECT_EQ(CountTraceLines(trace, "settings "), 6);  // one removal or absence a pass
    EXPECT_EQ(CountTraceLines(trace, "settings removed: "), 1);
    const TraceLine* lastPass = FindTraceLine(trace, "ending: \"KorvaneMini.exe\" pass 6");
    const TraceLine* installing = FindTraceLine(trace, "installer started: ");
    ASSERT_TRUE(lastPass && installing);
    EXPECT_LT(TraceIndex(trace, lastPass), TraceIndex(trace, installing));
    // Passes at 100 to 2600 ms, the installer on the seventh tick at 3100.
    EXPECT_GE(installing->ms, 3000);
    EXPECT_EQ(FindTraceLine(trace, "jump to the end"), nullptr);
    EXPECT_EQ(trace.back().text, "quit: classic edition running");

    // The watchdog saw the six ends, each by the switch, and still keeps the
    // mini edition running: nothing ended it after the installer's start.
    const std::vector<std::wstring> ends = ReadTextLines(m_root + L"\\Running\\restarts.txt");
    EXPECT_EQ(ends, std::vector<std::wstring>(6, L"ended 0"));
    EXPECT_TRUE(IsProcessRunning(L"KorvaneMini.exe"));
    EXPECT_EQ(InstallerCalls(UsualInstaller()).size(), 1u);
    EXPECT_EQ(ClassicStarts(UsualInstallFolder()).size(), 1u);
}

// A Korvane.exe that runs already does not count as the new one: the
// installer runs, and the classic edition is started from the installation
// folder once the installer has ended. The old one is left alone.
TEST_F(SwitchWithRealInstaller, AClassicEditionRunningBeforehandDoesNotShortenTheSwitch)
{
    PlaceInstaller(UsualInstaller());
    const std::wstring oldClassic = PlaceStandIn(L"Old Classic", L"Korvane.exe");
    ChildProcess& old = Start(Quoted(oldClassic), L"Korvane.exe");
    ASSERT_TRUE(WaitUntilRunning(L"Korvane.exe"));

    const Run run = RunSwitch(UsualArguments());
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);

    const TraceLine* installed = FindTraceLine(run.trace, "installer ended: ");
    const TraceLine* classic = FindTraceLine(run.trace, "classic started: ");
    ASSERT_TRUE(installed && classic);
    EXPECT_LT(TraceIndex(run.trace, installed), TraceIndex(run.trace, classic));
    EXPECT_EQ(run.trace.back().text, "quit: classic edition running");
    EXPECT_EQ(InstalledInto(UsualInstaller()), std::vector<std::wstring>{UsualInstallFolder()});
    EXPECT_EQ(ClassicStarts(UsualInstallFolder()).size(), 1u);
    EXPECT_EQ(ClassicStarts(m_root + L"\\Old Classic"), std::vector<std::wstring>{oldClassic});
    EXPECT_TRUE(old.Running());
}

}  // namespace
