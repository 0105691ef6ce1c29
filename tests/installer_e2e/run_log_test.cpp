// The run's log, from the outside: what a whole switch leaves in the user's
// temporary folder, what it says when the installer cannot be started or
// the settings file cannot be removed, what is left when the program is
// ended from outside, and that a temporary folder that cannot take a log
// changes nothing in the switch.
#include "installer_scene.h"

#include "framework/system_error_text.h"
#include "support/run_log_reader.h"
#include "support/test_paths.h"
#include "support/text_files.h"
#include "version.h"
#include "workflow/process_utils.h"
#include "workflow/scoped_handle.h"

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const char* text)
{
    return WideFromUtf8(text);
}

std::wstring LocalTimeNow()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    wchar_t text[32];
    std::swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond, now.wMilliseconds);
    return text;
}

// The kind of a trace line: its text up to the first ": ".
std::string Kind(const std::string& text)
{
    return text.substr(0, text.find(": "));
}

std::vector<std::string> Kinds(const std::vector<TraceLine>& trace)
{
    std::vector<std::string> kinds;
    for (const TraceLine& line : trace)
        kinds.push_back(Kind(line.text));
    return kinds;
}

// The log's trace lines are the trace's, one for one, in order, with the
// same times from the window's creation. The trace passes through the ANSI
// code page; the log keeps the text whole.
void ExpectSameLines(const RunLogContent& log, const std::vector<TraceLine>& trace)
{
    const std::vector<RunLogEntry> logged = RunLogTraceEntries(log);
    ASSERT_EQ(logged.size(), trace.size()) << RunLogListing(log) << "--- trace:\n" << TraceListing(trace);
    for (size_t i = 0; i < trace.size(); ++i) {
        EXPECT_EQ(AnsiFromWide(logged[i].text), trace[i].text) << "line " << i;
        EXPECT_EQ(logged[i].ms, trace[i].ms) << "line " << i;
    }
}

// Well-formed UTF-8 with its byte order mark, one CR LF line per entry, the
// time stamps of the run, in order.
void ExpectWellWritten(const RunLogContent& log, const std::wstring& before, const std::wstring& after)
{
    ASSERT_TRUE(log.read);
    EXPECT_TRUE(log.byteOrderMark);
    EXPECT_TRUE(log.validUtf8);
    EXPECT_TRUE(log.everyLineEndsCrLf);
    EXPECT_TRUE(log.wellFormed) << RunLogListing(log);
    ASSERT_FALSE(log.entries.empty());
    EXPECT_GE(log.entries.front().time, before.substr(0, 19));  // the clock has whole seconds in common
    EXPECT_LE(log.entries.back().time, after);
    for (size_t i = 1; i < log.entries.size(); ++i)
        EXPECT_LE(log.entries[i - 1].time, log.entries[i].time) << "line " << i;
}

using RunLogOfASwitch = InstallerScene;

// The whole switch, with the installation folder in Chinese characters
// (程序\经典 版, programs\classic edition), which the trace cannot carry but
// the log must.
TEST_F(RunLogOfASwitch, AWholeSwitchLeavesALogWithTheTracesLinesInOrder)
{
    PlaceInstaller(UsualInstaller());
    StartEdition(L"KorvaneMini.exe");
    StartEdition(L"KorvaneGallery.exe");
    const std::wstring installFolder =
        m_root + Wide("\\\xE7\xA8\x8B\xE5\xBA\x8F\\\xE7\xBB\x8F\xE5\x85\xB8 \xE7\x89\x88");
    const std::wstring arguments = L"--TempDir " + Quoted(m_root + L"\\Installer") + L" --AppName " +
                                   Quoted(L"Korvane Setup.exe") +
                                   L" --MiniName KorvaneMini.exe --GalleryName KorvaneGallery.exe --LocalPath " +
                                   Quoted(installFolder) + L" --Scale 1";

    const std::wstring before = LocalTimeNow();
    const Run run = RunSwitch(arguments);
    const std::wstring after = LocalTimeNow();
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(ClassicStarts(installFolder).size(), 1u);

    const std::wstring path = RunLogOf(TemporaryFolder(), run.processId);
    ASSERT_FALSE(path.empty()) << "no log of process " << run.processId;
    const RunLogContent log = ReadRunLog(path);
    SCOPED_TRACE(RunLogListing(log));
    ExpectWellWritten(log, before, after);

    // It opens with the program, the system, the command line as given and
    // as read, the screen and the window's place.
    const std::wstring bits = std::string(CS_ARCH) == "i686" ? L"32" : L"64";
    const std::vector<std::wstring> opening{
        L"ClassicSwitch "
        L"" CS_VERSION_TEXT L", " +
            bits + L"-bit, process " + std::to_wstring(run.processId),
        L"command line: " + Quoted(ProgramUnderTestPath()) + L" " + arguments,
        L"--TempDir: " + Quoted(m_root + L"\\Installer"),
        L"--AppName: \"Korvane Setup.exe\"",
        L"--MiniName: \"KorvaneMini.exe\"",
        L"--GalleryName: \"KorvaneGallery.exe\"",
        L"--LocalPath: " + Quoted(installFolder),
        L"--Scale: 1",
        L"screen: 1920 x 1080 pixels, 96 dpi (100%)",
        L"window: 420 x 114 at 750, 483",
    };
    ASSERT_GE(log.entries.size(), opening.size() + 2);
    EXPECT_EQ(log.entries[0].text, opening[0]);
    EXPECT_EQ(log.entries[1].text.rfind(L"Windows ", 0), 0u);
    for (size_t i = 1; i < opening.size(); ++i) {
        EXPECT_EQ(log.entries[i + 1].text, opening[i]);
        EXPECT_EQ(log.entries[i + 1].ms, -1);
    }
    EXPECT_EQ(log.entries[opening.size() + 1].ms, run.trace.empty() ? -1 : run.trace.front().ms);

    // Then the trace, line for line, and last the end with its exit code.
    ExpectSameLines(log, run.trace);
    EXPECT_EQ(log.entries.back().text, L"ended with exit code 0");
    EXPECT_EQ(log.entries.back().ms, -1);
    EXPECT_EQ(log.entries[log.entries.size() - 2].text, L"quit: classic edition running");
    EXPECT_NE(RunLogTraceEntries(log).front().text.find(L"KorvaneMini.exe"), std::wstring::npos);
    // The Chinese folder whole, where the trace has "?".
    const std::wstring classicStarted = L"classic started: " + Quoted(installFolder + L"\\Korvane.exe") + L" result ";
    bool wholeFolder = false;
    for (const RunLogEntry& entry : log.entries)
        wholeFolder = wholeFolder || entry.text.rfind(classicStarted, 0) == 0;
    EXPECT_TRUE(wholeFolder);
    std::printf("%s", RunLogListing(log).c_str());
}

// A settings file that another program holds open cannot be removed, and an
// installer that is not a program cannot be started: both are recorded with
// the system's error code and its text, and nothing claims otherwise. The
// switch goes on as ever: the mini edition is ended, Korvane.exe cannot be
// started (nothing was installed), the run ends 500 ms later.
TEST_F(RunLogOfASwitch, AFailedStartAndAFailedRemovalAreRecordedWithTheirErrors)
{
    ASSERT_TRUE(CreateFolders(m_root + L"\\Installer"));
    ASSERT_TRUE(WriteTextFile(UsualInstaller(), "this is not a program"));
    ChildProcess& mini = StartEdition(L"KorvaneMini.exe");
    // Open without delete sharing, as an editor might hold it.
    const ScopedHandle held(::CreateFileW(m_settingsFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.Valid());

    const Run run = RunSwitch(UsualArguments());
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(EndsWithCode(mini, 0));
    EXPECT_TRUE(PathExists(m_settingsFile));

    const std::string settings = "\"" + AnsiFromWide(m_settingsFile) + "\"";
    const std::string installer =
        "\"" + AnsiFromWide(UsualInstaller()) + "\" /S /D=" + AnsiFromWide(UsualInstallFolder());
    const TraceLine* notRemoved = FindTraceLine(run.trace, "settings not removed: " + settings);
    const TraceLine* notStarted = FindTraceLine(run.trace, "installer start failed: " + installer + " result ");
    ASSERT_TRUE(notRemoved && notStarted);
    EXPECT_EQ(notRemoved->text,
              "settings not removed: " + settings + " error 32: " + AnsiFromWide(SystemErrorText(32).Str()));
    // ShellExecuteW's own answer (at most 32), then the system's code: a
    // file that is not a program.
    const std::string error = " error 193: " + AnsiFromWide(SystemErrorText(193).Str());
    ASSERT_GT(notStarted->text.size(), error.size());
    EXPECT_EQ(notStarted->text.substr(notStarted->text.size() - error.size()), error);
    const long answer = std::strtol(notStarted->text.c_str() + notStarted->text.rfind(" result ") + 8, nullptr, 10);
    EXPECT_GE(answer, 0);
    EXPECT_LE(answer, 32);
    for (const char* claim : {"settings removed: ", "installer started: ", "classic started: "})
        EXPECT_EQ(FindTraceLine(run.trace, claim), nullptr) << claim;
    EXPECT_EQ(run.trace.back().text, "quit: classic edition start failed");

    const RunLogContent log = ReadRunLog(RunLogOf(TemporaryFolder(), run.processId));
    SCOPED_TRACE(RunLogListing(log));
    ExpectSameLines(log, run.trace);
    ASSERT_FALSE(log.entries.empty());
    EXPECT_EQ(log.entries.back().text, L"ended with exit code 0");
}

// Ended by Task Manager, as it were, while the installer works: the log has
// every line traced up to then, and nothing holds it open afterwards.
TEST_F(RunLogOfASwitch, ASwitchEndedFromOutsideLeavesEveryLineUpToThatMoment)
{
    PlaceInstaller(UsualInstaller(), 8000);
    StartEdition(L"KorvaneMini.exe");
    std::vector<TraceLine> traceBeforeTheEnd;
    const Run run = RunSwitch(UsualArguments(), [&](const ChildProcess& program, const DebugOutputMonitor& monitor) {
        for (int i = 0; i < 200 && !FindTraceLine(SwitchTrace(monitor.Messages(), program.Id()), "installer started: ");
             ++i)
            ::Sleep(50);
        ::Sleep(1200);  // two launch ticks that find the installer still at work
        traceBeforeTheEnd = SwitchTrace(monitor.Messages(), program.Id());
        ::TerminateProcess(program.Handle(), 1);
        ::WaitForSingleObject(program.Handle(), 5000);
    });
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 1u);  // the outside's exit code, not the program's own
    ASSERT_NE(FindTraceLine(traceBeforeTheEnd, "installer started: "), nullptr);
    EXPECT_EQ(run.trace.size(), traceBeforeTheEnd.size());

    const std::wstring path = RunLogOf(TemporaryFolder(), run.processId);
    const RunLogContent log = ReadRunLog(path);
    SCOPED_TRACE(RunLogListing(log));
    EXPECT_TRUE(log.validUtf8);
    EXPECT_TRUE(log.everyLineEndsCrLf);
    ExpectSameLines(log, run.trace);
    ASSERT_FALSE(log.entries.empty());
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(AnsiFromWide(log.entries.back().text), run.trace.back().text);  // no end line: it never ended
    EXPECT_TRUE(::DeleteFileW(path.c_str())) << ::GetLastError();
}

// The installer's stand-in that needs no temporary folder (an NSIS
// installer needs one too, and fails where the program's log cannot go): it
// installs the classic edition's stand-in 1.5 s after its start.
void PlaceInstallerWithoutTemporaryFiles(const std::wstring& installer)
{
    const std::wstring folder = installer.substr(0, installer.find_last_of(L'\\'));
    ASSERT_TRUE(CreateFolders(folder));
    ASSERT_TRUE(::CopyFileW(TestProgramPath(L"gui_installer.exe").c_str(), installer.c_str(), FALSE));
    ASSERT_TRUE(
        ::CopyFileW(TestProgramPath(L"gui_classic.exe").c_str(), (folder + L"\\classic_payload.exe").c_str(), FALSE));
}

// The course of a whole switch with both editions running, by the kinds of
// its trace lines.
const std::vector<std::string> kWholeSwitchKinds{"mini edition path",
                                                 "settings removed",
                                                 "ending",
                                                 "process ended",
                                                 "ending",
                                                 "process ended",
                                                 "installer started",
                                                 "installer ended",
                                                 "classic started",
                                                 "quitting in 500 ms",
                                                 "mini edition not restored",
                                                 "quit"};

struct UnusableTempCase {
    const char* label;
    const wchar_t* temp;  // {R} stands for the scene's root
    bool fileInTheWay;    // a file named ClassicSwitch where the log folder would go
    DWORD error;
    const wchar_t* reported;  // the path the trace names
};

// Under Wine, Z:\sys is Linux's sysfs root, in which nobody can create
// anything, root included: a read-only folder where a folder's read-only
// attribute would not stop this machine's user.
const UnusableTempCase kUnusableTemps[] = {
    {"Missing", L"{R}\\No Such Temp", false, ERROR_PATH_NOT_FOUND, L"{R}\\No Such Temp\\ClassicSwitch"},
    {"ReadOnly", L"Z:\\sys", false, ERROR_ACCESS_DENIED, L"Z:\\sys\\ClassicSwitch"},
    {"NameTakenByAFile", L"{R}\\Temp", true, ERROR_ALREADY_EXISTS, L"{R}\\Temp\\ClassicSwitch"},
};

void PrintTo(const UnusableTempCase& c, std::ostream* out)
{
    *out << c.label;
}

class UnusableTemp : public InstallerScene, public testing::WithParamInterface<UnusableTempCase> {};

TEST_P(UnusableTemp, TheSwitchRunsAsWithoutALogAndTheTraceSaysWhy)
{
    const UnusableTempCase& c = GetParam();
    const std::wstring temp = InRoot(c.temp);
    if (c.fileInTheWay) {
        ASSERT_TRUE(CreateFolders(temp));
        ASSERT_TRUE(WriteTextFile(temp + L"\\ClassicSwitch", "not a folder"));
    }
    PlaceInstallerWithoutTemporaryFiles(UsualInstaller());
    ChildProcess& mini = StartEdition(L"KorvaneMini.exe");
    ChildProcess& gallery = StartEdition(L"KorvaneGallery.exe");
    const std::wstring environment = EnvironmentWith({{L"TEMP", temp}, {L"TMP", temp}});

    const Run run = RunSwitch(UsualArguments(), nullptr, &environment);
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(run.trace.front().text, "log not written: \"" + AnsiFromWide(InRoot(c.reported)) + "\" error " +
                                          std::to_string(c.error) + ": " +
                                          AnsiFromWide(SystemErrorText(c.error).Str()));
    EXPECT_EQ(CountTraceLines(run.trace, "log not written: "), 1);

    // The switch itself is the whole switch, step for step.
    const std::vector<TraceLine> course(run.trace.begin() + 1, run.trace.end());
    EXPECT_EQ(Kinds(course), kWholeSwitchKinds);
    EXPECT_EQ(run.trace.back().text, "quit: classic edition running");
    EXPECT_TRUE(EndsWithCode(mini, 0));
    EXPECT_TRUE(EndsWithCode(gallery, 0));
    EXPECT_FALSE(PathExists(m_settingsFile));
    EXPECT_EQ(InstallerCalls(UsualInstaller()).size(), 1u);
    EXPECT_EQ(ClassicStarts(UsualInstallFolder()).size(), 1u);
    EXPECT_TRUE(IsProcessRunning(L"Korvane.exe"));
    if (!c.fileInTheWay) {
        EXPECT_FALSE(PathExists(InRoot(c.reported)));
    }
}

INSTANTIATE_TEST_SUITE_P(TemporaryFolders, UnusableTemp, testing::ValuesIn(kUnusableTemps), CaseLabel());

// The same switch with a usable temporary folder, for the course above.
TEST_F(RunLogOfASwitch, AWholeSwitchTakesTheCourseThatTheOthersAreComparedWith)
{
    PlaceInstallerWithoutTemporaryFiles(UsualInstaller());
    StartEdition(L"KorvaneMini.exe");
    StartEdition(L"KorvaneGallery.exe");
    const Run run = RunSwitch(UsualArguments());
    SCOPED_TRACE(TraceListing(run.trace));
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(Kinds(run.trace), kWholeSwitchKinds);
    EXPECT_EQ(FindTraceLine(run.trace, "log not written: "), nullptr);
}

// A command line of nearly the system's limit, in Chinese characters (three
// bytes each in UTF-8), read back in the opening lines and again in the
// trace's "installer missing" line, is more than the log may hold: the line
// that would cross 256 KB and every one after it are left out, and the last
// line says so. The switch ends as without a log.
TEST_F(RunLogOfASwitch, ALogOverTheCapEndsWithTheLineThatSaysSo)
{
    const std::wstring longFolder = m_root + L"\\" + std::wstring(30000, L'\u7248');
    const std::wstring arguments = L"--TempDir " + Quoted(longFolder) +
                                   L" --AppName Setup.exe --MiniName KorvaneMini.exe --GalleryName KorvaneGallery.exe"
                                   L" --LocalPath " +
                                   Quoted(UsualInstallFolder());
    const Run run = RunSwitch(arguments);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_FALSE(run.trace.empty());
    EXPECT_EQ(run.trace.back().text, "quit: installer missing");
    EXPECT_EQ(FindTraceLine(run.trace, "log not written: "), nullptr);

    const RunLogContent log = ReadRunLog(RunLogOf(TemporaryFolder(), run.processId));
    SCOPED_TRACE(RunLogListing(log));
    EXPECT_TRUE(log.validUtf8);
    EXPECT_TRUE(log.wellFormed);
    EXPECT_LE(log.bytes, 256u * 1024u);
    EXPECT_GT(log.bytes, 175u * 1024u);  // the two long opening lines made it
    ASSERT_GE(log.entries.size(), 2u);
    EXPECT_EQ(log.entries.back().text, L"log full at 256 KB: the lines after this one are dropped");
    EXPECT_EQ(log.entries[log.entries.size() - 2].text, L"window: 420 x 114 at 750, 483");
    EXPECT_TRUE(RunLogTraceEntries(log).empty());  // the first trace line was the one too many
}

}  // namespace
