// One whole run of the real program under the platform, with stand-ins of
// ours for the product's programs: the mini edition and the gallery program
// run, the settings file exists, a silent installer waits in a folder with a
// space in its name. The evidence is what the stand-ins leave behind, their
// exit codes and the program's trace from the debugger output.
#include "workflow/exe_name_match.h"
#include "workflow/process_utils.h"

#include "support/child_process.h"
#include "support/debug_output_monitor.h"
#include "support/settings_file.h"
#include "support/switch_trace.h"
#include "support/test_paths.h"
#include "support/text_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class SwitchEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
        m_root = std::wstring(temp) + L"cs-e2e-" + std::to_wstring(::GetCurrentProcessId());
        m_installerDir = m_root + L"\\Installer Dir";
        m_installFolder = m_root + L"\\Install Here\\Korvane";
        ASSERT_TRUE(CreateFolders(m_installerDir));
        ASSERT_TRUE(::CopyFileW(TestProgramPath(L"gui_installer.exe").c_str(),
                                (m_installerDir + L"\\Korvane Setup.exe").c_str(), FALSE));
        ASSERT_TRUE(::CopyFileW(TestProgramPath(L"gui_classic.exe").c_str(),
                                (m_installerDir + L"\\classic_payload.exe").c_str(), FALSE));
        for (const wchar_t* name : {L"KorvaneMini.exe", L"KorvaneGallery.exe"})
            ASSERT_TRUE(::CopyFileW(TestProgramPath(L"gui_idle.exe").c_str(), (m_root + L"\\" + name).c_str(), FALSE));

        ASSERT_TRUE(CreateSettingsFile());
        m_settingsFile = SettingsFilePath();
        EndProcessesNamed(L"Korvane.exe");
    }

    void TearDown() override
    {
        EndProcessesNamed(L"Korvane.exe");
        DeleteTree(m_root);
        ::DeleteFileW(m_settingsFile.c_str());
    }

    std::wstring m_root, m_installerDir, m_installFolder, m_settingsFile;
};

TEST_F(SwitchEndToEnd, SwitchesFromTheMiniToTheClassicEdition)
{
    DebugOutputMonitor monitor;
    ASSERT_TRUE(monitor.Listening());
    ChildProcess mini(Quoted(m_root + L"\\KorvaneMini.exe") + L" 60000");
    ChildProcess gallery(Quoted(m_root + L"\\KorvaneGallery.exe") + L" 60000");
    ASSERT_TRUE(mini.Started());
    ASSERT_TRUE(gallery.Started());

    // Values with spaces come as several arguments, joined again with single
    // spaces; the installation folder is given with forward slashes.
    std::wstring localPathWithSlashes = m_installFolder;
    for (wchar_t& ch : localPathWithSlashes) {
        if (ch == L'\\')
            ch = L'/';
    }
    const std::wstring commandLine = Quoted(ProgramUnderTestPath()) + L" --TempDir " + m_installerDir +
                                     L" --AppName Korvane Setup.exe --MiniName KorvaneMini.exe"
                                     L" --GalleryName KorvaneGallery.exe --LocalPath " +
                                     localPathWithSlashes;
    const ULONGLONG started = ::GetTickCount64();
    ChildProcess program(commandLine);
    ASSERT_TRUE(program.Started());
    DWORD exitCode = 99;
    ASSERT_TRUE(program.Wait(60000, &exitCode)) << "the switch did not end within a minute";
    const ULONGLONG wallMs = ::GetTickCount64() - started;
    EXPECT_EQ(exitCode, 0u);

    // Both editions were ended by the switch: exit code 0, not their own 7.
    EXPECT_TRUE(EndsWithCode(mini, 0));
    EXPECT_TRUE(EndsWithCode(gallery, 0));
    EXPECT_FALSE(PathExists(m_settingsFile));

    // The installer ran once, silently, into the installation folder.
    const std::vector<std::wstring> calls = ReadTextLines(m_installerDir + L"\\installer_calls.txt");
    ASSERT_EQ(calls.size(), 1u);
    const std::wstring parameters = L" /S /D=" + m_installFolder;
    ASSERT_GE(calls[0].size(), parameters.size());
    EXPECT_EQ(calls[0].substr(calls[0].size() - parameters.size()), parameters) << AnsiFromWide(calls[0]);
    EXPECT_NE(calls[0].find(m_installerDir + L"\\Korvane Setup.exe"), std::wstring::npos);

    // The classic edition was started from there, and still runs.
    const std::vector<std::wstring> classicStarts = ReadTextLines(m_installFolder + L"\\classic_started.txt");
    ASSERT_EQ(classicStarts.size(), 1u);
    EXPECT_EQ(AsciiLowerCase(classicStarts[0].c_str()), AsciiLowerCase((m_installFolder + L"\\Korvane.exe").c_str()));
    EXPECT_TRUE(IsProcessRunning(L"Korvane.exe"));

    // The trace tells the same story, on the nominal course.
    const std::vector<TraceLine> trace = SwitchTrace(monitor.Messages(), program.Id());
    const std::string all = TraceListing(trace);
    SCOPED_TRACE(all);
    const TraceLine* endMini = FindTraceLine(trace, "ending: \"KorvaneMini.exe\" pass 1");
    const TraceLine* removed = FindTraceLine(trace, "settings removed: \"" + AnsiFromWide(m_settingsFile) + "\"");
    const TraceLine* endGallery = FindTraceLine(trace, "ending: \"KorvaneGallery.exe\" pass 1");
    const TraceLine* installer =
        FindTraceLine(trace, "installer started: \"" + AnsiFromWide(m_installerDir) +
                                 "\\Korvane Setup.exe\" /S /D=" + AnsiFromWide(m_installFolder));
    const TraceLine* installerEnded = FindTraceLine(trace, "installer ended: \"Korvane Setup.exe\"");
    const TraceLine* classic =
        FindTraceLine(trace, "classic started: \"" + AnsiFromWide(m_installFolder) + "\\Korvane.exe\"");
    const TraceLine* quit = FindTraceLine(trace, "quit: classic edition running");
    ASSERT_TRUE(endMini && removed && endGallery && installer && installerEnded && classic && quit);
    EXPECT_LT(removed - &trace[0], endMini - &trace[0]);  // the settings go before the mini edition
    EXPECT_EQ(FindTraceLine(trace, "ending: \"KorvaneMini.exe\" pass 2"), nullptr);

    // Nominal: closing at 100 ms, installer at 600; it works 1.5 s after its
    // own start, so launch ticks see it at 1100, 1600 and perhaps 2100;
    // Korvane.exe is started at 2100 or 2600, seen running 500 ms later, and
    // the quit follows 500 ms after that: 3100 at the earliest. The slack
    // allows for slow process starts and snapshot walks under the platform.
    EXPECT_GE(endMini->ms, 100);
    EXPECT_LT(endMini->ms, 1000);
    EXPECT_GE(installer->ms, 600);
    EXPECT_GE(classic->ms, installer->ms + 1500);
    EXPECT_GE(quit->ms, 3100);
    EXPECT_LE(quit->ms, 3100 + 3000);
    EXPECT_GE(wallMs, 3100u);
    EXPECT_LE(wallMs, static_cast<ULONGLONG>(quit->ms) + 10000);
    std::printf("run: %llu ms wall, quit traced at +%lld ms\n%s", wallMs, quit->ms, all.c_str());
}

}  // namespace
