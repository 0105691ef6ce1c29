#include "simulated_switch.h"
#include "window/timer_ids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

const std::wstring kInstaller = L"C:\\Temp\\Setup.exe";
const std::wstring kClassic = L"C:\\Korvane\\Korvane.exe";
const std::wstring kSettings = L"C:\\Users\\me\\Documents\\Ovrillo\\TempFile_S.ini";
const std::wstring kStartInstaller = L"start C:\\Temp\\Setup.exe | /S /D=C:\\Korvane | open 64";
const std::wstring kStartClassic = L"start C:\\Korvane\\Korvane.exe | (none) | open 64";
const std::wstring kRemoveSettings = L"remove " + kSettings;
const std::wstring kEndMini = L"end KorvaneMini.exe";
const std::wstring kEndGallery = L"end Gallery.exe";
const std::wstring kQuit = L"quit 0";

std::string AsciiOf(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// A machine where the installer exists and runs for 1.2 s, Korvane.exe runs
// as soon as it is started, and the settings file exists.
class SwitchRun : public testing::Test {
protected:
    explicit SwitchRun(FakeTimerQueue::TieOrder order = FakeTimerQueue::TieOrder::LowerIdFirst) : run(order)
    {
        run.platform.SetDocumentsFolder(L"C:\\Users\\me\\Documents");
        run.platform.AddFile(kInstaller, FILE_ATTRIBUTE_ARCHIVE);
        run.platform.OnStart(kInstaller, 0, 1200);
        run.platform.OnStart(kClassic, 0, kForever);
    }

    const std::vector<SwitchEvent>& Events() const { return run.platform.Events(); }
    bool Traced(const std::wstring& line) const
    {
        const std::vector<std::wstring>& lines = run.platform.TraceLines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    SimulatedSwitch run;
};

class SwitchRunWithArmOrderTies : public SwitchRun {
protected:
    SwitchRunWithArmOrderTies() : SwitchRun(FakeTimerQueue::TieOrder::EarlierArmedFirst) {}
};

TEST_F(SwitchRun, NothingRunningStartsTheInstallerAt100)
{
    run.platform.AddFile(kSettings, FILE_ATTRIBUTE_ARCHIVE);
    run.Run();
    const std::vector<SwitchEvent> expected{{100, kStartInstaller}, {1600, kStartClassic}, {2600, kQuit}};
    EXPECT_EQ(Events(), expected);
    EXPECT_EQ(run.platform.ExitCode(), 0);
    EXPECT_TRUE(run.platform.PathsAsked().empty());  // the settings file is not touched
    EXPECT_TRUE(run.platform.FileExists(kSettings));
    EXPECT_FALSE(run.timers.Pending(TIMER_PREPARE));  // stopped for good by the first launch tick
    EXPECT_FALSE(run.timers.Pending(TIMER_LAUNCH));
    const std::vector<std::wstring> trace{
        L"installer started: \"C:\\Temp\\Setup.exe\" /S /D=C:\\Korvane result 42",
        L"installer ended: \"Setup.exe\"",
        L"classic started: \"C:\\Korvane\\Korvane.exe\" result 42",
        L"quitting in 500 ms: classic edition running",
        L"quit: classic edition running",
    };
    EXPECT_EQ(run.platform.TraceLines(), trace);
}

TEST_F(SwitchRun, UnendingMiniEditionHoldsTheInstallerBackForSixPasses)
{
    run.platform.AddProcess(L"KorvaneMini.exe", 0, kForever, false);
    run.platform.AddFile(kSettings, FILE_ATTRIBUTE_ARCHIVE, true);  // written again while it runs
    run.Run();
    std::vector<SwitchEvent> expected;
    for (long long t = 100; t <= 2600; t += 500) {
        expected.push_back({t, kRemoveSettings});  // before each end, never after
        expected.push_back({t, kEndMini});
    }
    expected.push_back({3100, kStartInstaller});
    expected.push_back({4600, kStartClassic});
    expected.push_back({5600, kQuit});
    EXPECT_EQ(Events(), expected);
    EXPECT_EQ(run.miniKillCount, 6);
    EXPECT_EQ(run.galleryKillCount, 0);
    EXPECT_TRUE(Traced(L"ending: \"KorvaneMini.exe\" pass 6"));
    EXPECT_TRUE(Traced(L"settings removed: \"" + kSettings + L"\""));
}

TEST_F(SwitchRun, EditionsUnendingTogetherShareTheirSixPasses)
{
    run.platform.AddProcess(L"KorvaneMini.exe", 0, kForever, false);
    run.platform.AddProcess(L"Gallery.exe", 0, kForever, false);
    run.Run();
    std::vector<SwitchEvent> expected;
    for (long long t = 100; t <= 2600; t += 500)
        expected.insert(expected.end(), {{t, kEndMini}, {t, kEndGallery}});  // no settings file here
    expected.insert(expected.end(), {{3100, kStartInstaller}, {4600, kStartClassic}, {5600, kQuit}});
    EXPECT_EQ(Events(), expected);
    EXPECT_TRUE(Traced(L"settings absent: \"" + kSettings + L"\""));
}

// The longest hold-up: the gallery program starts only when the mini
// edition has used its passes. A mini edition past its limit is still ended,
// with its settings file, in every pass the gallery program holds.
TEST_F(SwitchRun, EditionsUnendingOneAfterTheOtherHoldTheInstallerUntil6100)
{
    run.platform.AddProcess(L"KorvaneMini.exe", 0, kForever, false);
    run.platform.AddProcess(L"Gallery.exe", 2700, kForever, false);
    run.platform.AddFile(kSettings, FILE_ATTRIBUTE_ARCHIVE, true);
    run.Run();
    std::vector<SwitchEvent> expected;
    for (long long t = 100; t <= 5600; t += 500) {
        expected.insert(expected.end(), {{t, kRemoveSettings}, {t, kEndMini}});
        if (t >= 3100)
            expected.push_back({t, kEndGallery});
    }
    expected.insert(expected.end(), {{6100, kStartInstaller}, {7600, kStartClassic}, {8600, kQuit}});
    EXPECT_EQ(Events(), expected);
    EXPECT_EQ(run.miniKillCount, 12);
    EXPECT_EQ(run.galleryKillCount, 6);
}

TEST_F(SwitchRun, EndedEditionsLetTheInstallerStartOnTheNextPass)
{
    struct Case {
        const char* what;
        bool mini, gallery;
        std::vector<SwitchEvent> expected;
    };
    const std::vector<Case> cases{
        {"mini edition", true, false, {{100, kRemoveSettings}, {100, kEndMini}, {600, kStartInstaller}}},
        {"gallery only: settings untouched", false, true, {{100, kEndGallery}, {600, kStartInstaller}}},
        {"both", true, true, {{100, kRemoveSettings}, {100, kEndMini}, {100, kEndGallery}, {600, kStartInstaller}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedSwitch one;
        one.platform.SetDocumentsFolder(L"C:\\Users\\me\\Documents");
        one.platform.AddFile(kSettings, FILE_ATTRIBUTE_ARCHIVE);
        one.platform.AddFile(kInstaller, FILE_ATTRIBUTE_ARCHIVE);
        if (c.mini)
            one.platform.AddProcess(L"korvanemini.EXE", 0, kForever, true);  // ASCII case folded
        if (c.gallery)
            one.platform.AddProcess(L"Gallery.exe", 0, kForever, true);
        one.Run(1000);
        EXPECT_EQ(one.platform.Events(), c.expected);
        EXPECT_EQ(one.platform.FileExists(kSettings), !c.mini);
        if (!c.mini) {
            EXPECT_TRUE(one.platform.PathsAsked().empty());
        }
    }
}

TEST_F(SwitchRun, MissingInstallerOrAFolderEndsTheRun500msLater)
{
    struct Case {
        const char* what;
        DWORD attributes;  // 0: nothing there
        const wchar_t* traced;
    };
    const Case cases[] = {
        {"missing", 0, L"installer missing: \"C:\\Temp\\Setup.exe\""},
        {"folder", FILE_ATTRIBUTE_DIRECTORY, L"installer is a folder: \"C:\\Temp\\Setup.exe\""},
        {"read-only folder", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY,
         L"installer is a folder: \"C:\\Temp\\Setup.exe\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedSwitch one;
        one.platform.SetDocumentsFolder(L"C:\\Users\\me\\Documents");
        if (c.attributes)
            one.platform.AddFile(kInstaller, c.attributes);
        one.Run();
        const std::vector<SwitchEvent> expected{{600, kQuit}};
        EXPECT_EQ(one.platform.Events(), expected);
        EXPECT_TRUE(one.installerLaunched);  // never tried again
        const std::vector<std::wstring>& lines = one.platform.TraceLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.traced), lines.end());
        EXPECT_EQ(lines.back(), L"quit: installer missing");
    }
}

// The trace says what the system answered to each start and removal, and
// never claims one that failed; the course of the switch stays as it is.
TEST(SwitchAnswers, FailuresAreTracedWithTheirErrorsAndChangeNothingInTheCourse)
{
    struct Case {
        const char* what;
        std::function<void(FakePlatform&)> fail;  // null: nothing fails
        const wchar_t* traced;                    // the line that tells the answer
        const wchar_t* neverTraced;               // the claim it must not make
        std::vector<SwitchEvent> expected;
    };
    const std::wstring removal = L"remove " + kSettings;
    const std::vector<Case> cases{
        {"all succeeds",
         nullptr,
         L"settings removed: \"C:\\Users\\me\\Documents\\Ovrillo\\TempFile_S.ini\"",
         L"settings not removed: ",
         {{100, removal}, {100, kEndMini}, {600, kStartInstaller}, {2100, kStartClassic}, {3100, kQuit}}},
        {"settings file cannot be removed",
         [](FakePlatform& p) { p.FailRemoval(kSettings, ERROR_SHARING_VIOLATION); },
         L"settings not removed: \"C:\\Users\\me\\Documents\\Ovrillo\\TempFile_S.ini\" error 32: <text of error 32>",
         L"settings removed: ",
         {{100, removal}, {100, kEndMini}, {600, kStartInstaller}, {2100, kStartClassic}, {3100, kQuit}}},
        // No installer process comes, so the first launch tick goes on to
        // Korvane.exe, as after an installer that ended at once.
        {"installer cannot be started",
         [](FakePlatform& p) { p.FailStart(kInstaller, 11, ERROR_BAD_EXE_FORMAT); },
         L"installer start failed: \"C:\\Temp\\Setup.exe\" /S /D=C:\\Korvane result 11 error 193: <text of error "
         L"193>",
         L"installer started: ",
         {{100, removal}, {100, kEndMini}, {600, kStartInstaller}, {1100, kStartClassic}, {2100, kQuit}}},
        {"a failed start with no system error code",
         [](FakePlatform& p) { p.FailStart(kInstaller, 31, 0); },
         L"installer start failed: \"C:\\Temp\\Setup.exe\" /S /D=C:\\Korvane result 31",
         L"installer started: ",
         {{100, removal}, {100, kEndMini}, {600, kStartInstaller}, {1100, kStartClassic}, {2100, kQuit}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedSwitch run;
        run.platform.SetDocumentsFolder(L"C:\\Users\\me\\Documents");
        run.platform.AddFile(kSettings, FILE_ATTRIBUTE_ARCHIVE);
        run.platform.AddFile(kInstaller, FILE_ATTRIBUTE_ARCHIVE);
        run.platform.AddProcess(L"KorvaneMini.exe", 0, kForever, true);
        run.platform.OnStart(kInstaller, 0, 1200);
        run.platform.OnStart(kClassic, 0, kForever);
        if (c.fail)
            c.fail(run.platform);
        run.Run();
        EXPECT_EQ(run.platform.Events(), c.expected);
        EXPECT_EQ(run.platform.ExitCode(), 0);
        const std::vector<std::wstring>& lines = run.platform.TraceLines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.traced), lines.end());
        for (const std::wstring& line : lines)
            EXPECT_NE(line.rfind(c.neverTraced, 0), 0u) << "claimed: " << AsciiOf(line);
        EXPECT_EQ(lines.back(), L"quit: classic edition running");
    }
}

// Timer 2 falls due with timer 4 at 600 ms and is served first: it finds the
// mini edition back while the installer runs and gives up.
TEST_F(SwitchRun, EditionBackWhileInstallingJumpsToTheEnd)
{
    run.platform.AddProcess(L"KorvaneMini.exe", 300, kForever, true);
    run.Run();
    const std::vector<SwitchEvent> expected{{100, kStartInstaller}, {600, L"bar to the end"}, {1100, kQuit}};
    EXPECT_EQ(Events(), expected);  // nothing ended, no settings touched
    EXPECT_EQ(run.progress, 100);
    EXPECT_FALSE(run.animating);
    EXPECT_TRUE(run.finished);
    EXPECT_FALSE(run.timers.Pending(TIMER_PROGRESS));
    EXPECT_EQ(run.animationRedraws, 12);  // ticks at 50..600; none after the jump
    EXPECT_EQ(run.miniKillCount, 0);
    EXPECT_EQ(run.platform.QuitMs(), 1100);
    EXPECT_EQ(run.platform.TraceLines().back(), L"quit: edition running again");
}

// With the installer missing, timer 2 still ticks until the quit; an
// edition that turns up then takes the jump, which arms the quit afresh.
TEST_F(SwitchRun, EditionBackAfterAMissingInstallerPostponesTheQuit)
{
    SimulatedSwitch one;
    one.platform.AddProcess(L"KorvaneMini.exe", 300, kForever, true);
    one.Run();
    const std::vector<SwitchEvent> expected{{600, L"bar to the end"}, {1100, kQuit}};
    EXPECT_EQ(one.platform.Events(), expected);
    EXPECT_EQ(one.progress, 100);
    EXPECT_EQ(one.platform.TraceLines().back(), L"quit: edition running again");
}

// Start-up never lets an empty name through; should one come, nothing is
// started and timer 2 goes on ticking until the deadline.
TEST_F(SwitchRun, EmptyInstallerNameStartsNothing)
{
    for (int which = 0; which < 2; ++which) {
        SCOPED_TRACE(which == 0 ? "TempDir empty" : "AppName empty");
        SimulatedSwitch one;
        one.platform.AddFile(L"\\Setup.exe", FILE_ATTRIBUTE_ARCHIVE);  // what an empty TempDir would name
        one.platform.AddFile(L"C:\\Temp\\", FILE_ATTRIBUTE_DIRECTORY);
        (which == 0 ? one.tempDir : one.appName) = L"";
        one.Run(179999);
        EXPECT_TRUE(one.platform.Events().empty());
        EXPECT_FALSE(one.installerLaunched);
        EXPECT_EQ(one.timers.PeriodOf(TIMER_PREPARE), 500);
        EXPECT_FALSE(one.timers.Pending(TIMER_LAUNCH));
        EXPECT_EQ(one.timers.DueOf(TIMER_QUIT), 180000);
    }
}

// When timer 4 is served first it stops timer 2, and a returning edition is
// never seen again: the run goes on to the classic edition.
TEST_F(SwitchRunWithArmOrderTies, EditionBackWhileInstallingIsNotSeenWhenTheLaunchTickComesFirst)
{
    run.platform.AddProcess(L"KorvaneMini.exe", 300, kForever, true);
    run.Run();
    const std::vector<SwitchEvent> expected{{100, kStartInstaller}, {1600, kStartClassic}, {2600, kQuit}};
    EXPECT_EQ(Events(), expected);
    EXPECT_NE(run.progress, 100);
    EXPECT_TRUE(run.platform.IsAlive(L"KorvaneMini.exe"));
}

TEST_F(SwitchRunWithArmOrderTies, NothingRunningGivesTheSameCourse)
{
    run.Run();
    const std::vector<SwitchEvent> expected{{100, kStartInstaller}, {1600, kStartClassic}, {2600, kQuit}};
    EXPECT_EQ(Events(), expected);
}

TEST_F(SwitchRun, ClassicEditionAlreadyRunningIsStartedAllTheSame)
{
    run.platform.AddProcess(L"Korvane.exe", 0, kForever, true);
    run.Run();
    const std::vector<SwitchEvent> expected{{100, kStartInstaller}, {1600, kStartClassic}, {2600, kQuit}};
    EXPECT_EQ(Events(), expected);
}

// An installer name with a folder part never matches a process name, so the
// first launch tick takes the installer for gone.
TEST_F(SwitchRun, InstallerNameWithAFolderPart)
{
    run.tempDir = L"C:/Temp/";
    run.appName = L"Sub/Setup.exe";
    const std::wstring path = L"C:\\Temp\\\\Sub\\Setup.exe";  // the doubled separator is passed on
    run.platform.AddFile(path, FILE_ATTRIBUTE_ARCHIVE);
    run.platform.OnStart(path, 0, 1200);
    run.Run();
    const std::vector<SwitchEvent> expected{
        {100, L"start " + path + L" | /S /D=C:\\Korvane | open 64"}, {600, kStartClassic}, {1600, kQuit}};
    EXPECT_EQ(Events(), expected);
}

TEST_F(SwitchRun, StallsEndAtTheDeadline)
{
    struct Case {
        const char* what;
        long long installerRunsMs;
        long long classicDelayMs;
        std::vector<SwitchEvent> expected;
    };
    const std::vector<Case> cases{
        {"installer outlives the deadline", kForever, 0, {{100, kStartInstaller}, {180000, kQuit}}},
        {"Korvane.exe never appears", 1200, kForever, {{100, kStartInstaller}, {1600, kStartClassic}, {180000, kQuit}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedSwitch one;
        one.platform.AddFile(kInstaller, FILE_ATTRIBUTE_ARCHIVE);
        one.platform.OnStart(kInstaller, 0, c.installerRunsMs);
        one.platform.OnStart(kClassic, c.classicDelayMs, kForever);
        one.Run(400000);
        EXPECT_EQ(one.platform.Events(), c.expected);
        EXPECT_EQ(one.platform.TraceLines().back(), L"quit: deadline");
        EXPECT_EQ(one.progress, 95);  // the animation ran its course meanwhile
    }
}

// Without the documents folder the settings file cannot be found; the bare
// suffix would name a file at the root of the current drive, which must stay.
TEST_F(SwitchRun, UnknownDocumentsFolderRemovesNothingButStillEndsTheMiniEdition)
{
    const wchar_t* folders[] = {nullptr, L""};
    for (const wchar_t* folder : folders) {
        SCOPED_TRACE(folder ? "empty folder" : "no folder");
        SimulatedSwitch one;
        one.platform.SetDocumentsFolder(folder);
        one.platform.AddFile(L"\\Ovrillo\\TempFile_S.ini", FILE_ATTRIBUTE_ARCHIVE);
        one.platform.AddFile(kInstaller, FILE_ATTRIBUTE_ARCHIVE);
        one.platform.AddProcess(L"KorvaneMini.exe", 0, kForever, true);
        one.Run(1000);
        const std::vector<SwitchEvent> expected{{100, kEndMini}, {600, kStartInstaller}};
        EXPECT_EQ(one.platform.Events(), expected);
        EXPECT_TRUE(one.platform.PathsAsked().empty());
        EXPECT_TRUE(one.platform.FileExists(L"\\Ovrillo\\TempFile_S.ini"));
        EXPECT_EQ(one.platform.TraceLines().front(), L"settings kept: documents folder unknown");
    }
}

// A run that cannot finish gives the user back the mini edition it ended,
// started again from where it ran, as it quits; every other end leaves it
// ended and says why.
const std::wstring kMiniPath = L"C:\\Program Files\\Korvane Mini\\KorvaneMini.exe";
const std::wstring kRestartMini = L"start " + kMiniPath + L" | (none) | open 64 | in C:\\Program Files\\Korvane Mini";
const std::wstring kMiniPathTraced = L"mini edition path: \"" + kMiniPath + L"\"";
const std::wstring kRestored = L"mini edition restored: \"" + kMiniPath + L"\" result 42";

struct GiveBackCase {
    const char* what;
    std::function<void(SimulatedSwitch&)> arrange;  // beyond a running mini edition, ended at 100 ms
    std::vector<SwitchEvent> expected;              // after the mini edition's end
    std::wstring decision;                          // the restore line, just before the quit line
    std::wstring quit;
};

void InstallerRunsFor(SimulatedSwitch& run, long long ms)
{
    run.platform.AddFile(kInstaller, FILE_ATTRIBUTE_ARCHIVE);
    run.platform.OnStart(kInstaller, 0, ms);
}

TEST(GiveTheMiniEditionBack, EachEndOfARunThatEndedTheMiniEdition)
{
    const std::vector<GiveBackCase> cases{
        {"installer missing: restored as the run quits, 500 ms later",
         [](SimulatedSwitch&) {},
         {{1100, kRestartMini}, {1100, kQuit}},
         kRestored,
         L"quit: installer missing"},
        {"Korvane.exe cannot be started: the run quits 500 ms later, restored",
         [](SimulatedSwitch& run) {
             InstallerRunsFor(run, 1200);
             run.platform.FailStart(kClassic, 2, ERROR_FILE_NOT_FOUND);
         },
         {{600, kStartInstaller}, {2100, kStartClassic}, {2600, kRestartMini}, {2600, kQuit}},
         kRestored,
         L"quit: classic edition start failed"},
        {"Korvane.exe never runs: restored at the deadline",
         [](SimulatedSwitch& run) {
             InstallerRunsFor(run, 1200);
             run.platform.OnStart(kClassic, kForever, kForever);
         },
         {{600, kStartInstaller}, {2100, kStartClassic}, {180000, kRestartMini}, {180000, kQuit}},
         kRestored,
         L"quit: deadline"},
        {"the switch succeeded",
         [](SimulatedSwitch& run) {
             InstallerRunsFor(run, 1200);
             run.platform.OnStart(kClassic, 0, kForever);
         },
         {{600, kStartInstaller}, {2100, kStartClassic}, {3100, kQuit}},
         L"mini edition not restored: switch succeeded",
         L"quit: classic edition running"},
        {"an edition came back on its own while installing (the gallery program, not the mini edition)",
         [](SimulatedSwitch& run) {
             InstallerRunsFor(run, 5000);
             run.platform.AddProcess(L"Gallery.exe", 700, kForever, true);
         },
         {{600, kStartInstaller}, {1100, L"bar to the end"}, {1600, kQuit}},
         L"mini edition not restored: edition running again",
         L"quit: edition running again"},
        {"the installer still runs at the deadline",
         [](SimulatedSwitch& run) { InstallerRunsFor(run, kForever); },
         {{600, kStartInstaller}, {180000, kQuit}},
         L"mini edition not restored: installer still running",
         L"quit: deadline"},
        {"the mini edition runs again when the run quits",
         [](SimulatedSwitch& run) {
             InstallerRunsFor(run, 1200);
             run.platform.FailStart(kClassic, 2, ERROR_FILE_NOT_FOUND);
             run.platform.AddProcess(L"KorvaneMini.exe", 2200, kForever, true, L"D:\\Elsewhere\\KorvaneMini.exe");
         },
         {{600, kStartInstaller}, {2100, kStartClassic}, {2600, kQuit}},
         L"mini edition not restored: mini edition running",
         L"quit: classic edition start failed"},
    };
    for (const GiveBackCase& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedSwitch run;
        run.platform.AddProcess(L"KorvaneMini.exe", 0, kForever, true, kMiniPath);
        c.arrange(run);
        run.Run(400000);
        std::vector<SwitchEvent> expected{{100, kEndMini}};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(run.platform.Events(), expected);
        EXPECT_EQ(run.platform.ExitCode(), 0);
        const std::vector<std::wstring>& lines = run.platform.TraceLines();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2], c.decision);
        EXPECT_EQ(lines.back(), c.quit);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), kMiniPathTraced), 1);

        // The quit is posted once; a stray tick after it starts nothing more.
        run.Dispatch(TIMER_QUIT);
        EXPECT_EQ(std::count(run.platform.Events().begin(), run.platform.Events().end(),
                             SwitchEvent{run.timers.Now(), kRestartMini}),
                  c.decision == kRestored ? 1 : 0);
    }
}

TEST(GiveTheMiniEditionBack, FailedStartOfTheClassicEditionIsTracedWithItsResult)
{
    SimulatedSwitch run;
    InstallerRunsFor(run, 1200);
    run.platform.FailStart(kClassic, 3, ERROR_PATH_NOT_FOUND);
    run.Run();
    const std::vector<std::wstring> trace{
        L"installer started: \"C:\\Temp\\Setup.exe\" /S /D=C:\\Korvane result 42",
        L"installer ended: \"Setup.exe\"",
        L"classic start failed: \"C:\\Korvane\\Korvane.exe\" result 3 error 3: <text of error 3>",
        L"quitting in 500 ms: classic edition start failed",
        L"quit: classic edition start failed",  // no mini edition was ended: nothing to say about one
    };
    EXPECT_EQ(run.platform.TraceLines(), trace);
    EXPECT_EQ(run.platform.QuitMs(), 2100);
    EXPECT_FALSE(run.timers.Pending(TIMER_LAUNCH));  // nobody waits for a Korvane.exe that cannot come
}

TEST(GiveTheMiniEditionBack, NothingIsStartedWithoutAPathOrAfterACloseRequest)
{
    struct Case {
        const char* what;
        const wchar_t* imagePath;
        long long closeAtMs;  // 0: no close request
        std::wstring decision;
        std::wstring quit;
    };
    const Case cases[] = {
        {"the path could not be read", L"", 0, L"mini edition not restored: no path read", L"quit: installer missing"},
        {"a close request while installing", kMiniPath.c_str(), 3000, L"mini edition not restored: window closed",
         L"quit: window closed"},
        {"a close request with the installer missing, before the quit tick", kMiniPath.c_str(), 1000,
         L"mini edition not restored: window closed", L"quit: window closed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedSwitch run;
        run.platform.AddProcess(L"KorvaneMini.exe", 0, kForever, true, c.imagePath);
        if (c.closeAtMs == 3000)
            InstallerRunsFor(run, kForever);
        if (c.closeAtMs) {
            run.Run(c.closeAtMs);
            run.Close();
            run.Dispatch(TIMER_QUIT);  // a tick that slipped through changes nothing
        } else {
            run.Run();
        }
        for (const SwitchEvent& event : run.platform.Events())
            EXPECT_EQ(event.what.find(L"KorvaneMini.exe |"), std::wstring::npos) << "started: " << event.ms;
        const std::vector<std::wstring>& lines = run.platform.TraceLines();
        EXPECT_EQ(std::count(lines.begin(), lines.end(), c.decision), 1);
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::wstring& line) { return line.rfind(L"mini edition not", 0) == 0; }),
                  1);
        EXPECT_EQ(std::find(lines.begin(), lines.end(), c.quit) - lines.begin(),
                  std::find(lines.begin(), lines.end(), c.decision) - lines.begin() + 1);
        EXPECT_EQ(run.platform.ExitCode(), 0);
    }
}

// The first path read is the one given back: a copy that turns up later
// comes from wherever something else started it. A path that cannot be read
// on one pass may still be read on a later one.
TEST(GiveTheMiniEditionBack, TheFirstPathReadIsGivenBack)
{
    struct Case {
        const char* what;
        const wchar_t* firstPath;
        std::wstring givenBack;
    };
    const Case cases[] = {
        {"first path readable", kMiniPath.c_str(), kMiniPath},
        {"first path unreadable", L"", L"D:\\Later\\KorvaneMini.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SimulatedSwitch run;
        run.platform.AddProcess(L"KorvaneMini.exe", 0, kForever, true, c.firstPath);
        run.platform.AddProcess(L"KorvaneMini.exe", 300, kForever, true, L"D:\\Later\\KorvaneMini.exe");
        run.Run();
        EXPECT_EQ(run.miniKillCount, 2);
        ASSERT_FALSE(run.platform.Events().empty());
        const SwitchEvent last = run.platform.Events().back();
        EXPECT_EQ(last, (SwitchEvent{1600, kQuit}));
        const std::vector<std::wstring>& lines = run.platform.TraceLines();
        EXPECT_EQ(lines[lines.size() - 2], L"mini edition restored: \"" + c.givenBack + L"\" result 42");
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                [](const std::wstring& line) { return line.rfind(L"mini edition path: ", 0) == 0; }),
                  1);
    }
}

TEST(GiveTheMiniEditionBack, AFailedRestartIsTracedAndTheRunStillEndsWithZero)
{
    SimulatedSwitch run;
    run.platform.AddProcess(L"KorvaneMini.exe", 0, kForever, true, kMiniPath);
    run.platform.FailStart(kMiniPath, 5, ERROR_ACCESS_DENIED);
    run.Run();
    const std::vector<SwitchEvent> expected{{100, kEndMini}, {1100, kRestartMini}, {1100, kQuit}};
    EXPECT_EQ(run.platform.Events(), expected);
    EXPECT_EQ(run.platform.ExitCode(), 0);
    const std::vector<std::wstring>& lines = run.platform.TraceLines();
    EXPECT_EQ(lines[lines.size() - 2],
              L"mini edition restore failed: \"" + kMiniPath + L"\" result 5 error 5: <text of error 5>");
}

TEST(FolderOfPath, KeepsTheRootOfADriveWhole)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {L"C:\\Program Files\\Korvane Mini\\KorvaneMini.exe", L"C:\\Program Files\\Korvane Mini"},
        {L"C:\\KorvaneMini.exe", L"C:\\"},  // "C:" alone is the drive's current folder
        {L"\\\\server\\share\\KorvaneMini.exe", L"\\\\server\\share"},
        {L"\\\\?\\C:\\KorvaneMini.exe", L"\\\\?\\C:\\"},
        {L"KorvaneMini.exe", L""},
        {L"\\KorvaneMini.exe", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FolderOfPath(c.path).Str(), c.folder) << testing::PrintToString(std::wstring(c.path));
}

TEST(InstallerPath, JoinsWithABackslashAndTurnsEverySlash)
{
    struct Case {
        const wchar_t* tempDir;
        const wchar_t* appName;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"C:\\Temp", L"Setup.exe", L"C:\\Temp\\Setup.exe"},
        {L"C:/Temp/Inst", L"Setup.exe", L"C:\\Temp\\Inst\\Setup.exe"},
        {L"C:\\Temp\\", L"Setup.exe", L"C:\\Temp\\\\Setup.exe"},
        {L"C:\\My Temp", L"Set up.exe", L"C:\\My Temp\\Set up.exe"},  // nothing quoted
        {L"//server/share", L"a/b.exe", L"\\\\server\\share\\a\\b.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstallerPath(c.tempDir, c.appName).Str(), c.path);
}

}  // namespace
