// One whole run of the real program under the platform, with stand-ins of
// ours for the product's programs: the mini edition and the gallery program
// run, the settings file exists, a silent installer waits in a folder with a
// space in its name. The evidence is what the stand-ins leave behind, their
// exit codes and the program's trace from the debugger output.
#include "workflow/exe_name_match.h"
#include "workflow/process_utils.h"

#include "support/child_process.h"
#include "support/debug_output_monitor.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring Utf8ToWide(const std::string& text)
{
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

std::string WideToAnsi(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &narrow[0], size, nullptr, nullptr);
    return narrow;
}

std::vector<std::wstring> ReadLines(const std::wstring& path)
{
    std::vector<std::wstring> lines;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lines;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        content.append(buffer, read);
    ::CloseHandle(file);
    std::istringstream stream(content);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(Utf8ToWide(line));
    return lines;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// Ends every Korvane.exe of this session and waits until none is left.
void EndClassicEditions()
{
    for (int i = 0; i < 50 && IsProcessRunning(L"Korvane.exe"); ++i) {
        KillProcessByName(L"Korvane.exe");
        ::Sleep(100);
    }
}

struct TraceLine {
    long long ms;
    std::string text;
};

// "ClassicSwitch +<ms> ms: <text>"
std::vector<TraceLine> ParseTrace(const std::vector<DebugOutputMonitor::Message>& messages, DWORD processId)
{
    const std::string prefix = "ClassicSwitch +";
    std::vector<TraceLine> lines;
    for (const DebugOutputMonitor::Message& message : messages) {
        if (message.processId != processId || message.text.compare(0, prefix.size(), prefix) != 0)
            continue;
        const size_t unit = message.text.find(" ms: ");
        if (unit == std::string::npos)
            continue;
        std::string text = message.text.substr(unit + 5);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        lines.push_back(TraceLine{std::atoll(message.text.c_str() + prefix.size()), text});
    }
    return lines;
}

const TraceLine* Find(const std::vector<TraceLine>& lines, const std::string& start)
{
    for (const TraceLine& line : lines) {
        if (line.text.compare(0, start.size(), start) == 0)
            return &line;
    }
    return nullptr;
}

class SwitchEndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
        m_root = std::wstring(temp) + L"cs-e2e-" + std::to_wstring(::GetCurrentProcessId());
        m_installerDir = m_root + L"\\Installer Dir";
        m_installFolder = m_root + L"\\Install Here\\Korvane";
        ASSERT_EQ(::SHCreateDirectoryExW(nullptr, m_installerDir.c_str(), nullptr), ERROR_SUCCESS);
        ASSERT_TRUE(::CopyFileW(TestProgramPath(L"gui_installer.exe").c_str(),
                                (m_installerDir + L"\\Korvane Setup.exe").c_str(), FALSE));
        ASSERT_TRUE(::CopyFileW(TestProgramPath(L"gui_classic.exe").c_str(),
                                (m_installerDir + L"\\classic_payload.exe").c_str(), FALSE));
        for (const wchar_t* name : {L"KorvaneMini.exe", L"KorvaneGallery.exe"})
            ASSERT_TRUE(::CopyFileW(TestProgramPath(L"gui_idle.exe").c_str(), (m_root + L"\\" + name).c_str(), FALSE));

        wchar_t documents[MAX_PATH];
        ASSERT_EQ(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents), S_OK);
        const std::wstring settingsFolder = std::wstring(documents) + L"\\Ovrillo";
        ::CreateDirectoryW(settingsFolder.c_str(), nullptr);
        m_settingsFile = settingsFolder + L"\\TempFile_S.ini";
        std::ofstream(m_settingsFile.c_str()) << "[Settings]\n";
        ASSERT_TRUE(Exists(m_settingsFile));
        EndClassicEditions();
    }

    void TearDown() override
    {
        EndClassicEditions();
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
                                     L" --GalleryName KorvaneGallery.exe --LocalPath " + localPathWithSlashes;
    const ULONGLONG started = ::GetTickCount64();
    ChildProcess program(commandLine);
    ASSERT_TRUE(program.Started());
    DWORD exitCode = 99;
    ASSERT_TRUE(program.Wait(60000, &exitCode)) << "the switch did not end within a minute";
    const ULONGLONG wallMs = ::GetTickCount64() - started;
    EXPECT_EQ(exitCode, 0u);

    // Both editions were ended by the switch: exit code 0, not their own 7.
    DWORD code = 99;
    ASSERT_TRUE(mini.Wait(5000, &code));
    EXPECT_EQ(code, 0u);
    ASSERT_TRUE(gallery.Wait(5000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(Exists(m_settingsFile));

    // The installer ran once, silently, into the installation folder.
    const std::vector<std::wstring> calls = ReadLines(m_installerDir + L"\\installer_calls.txt");
    ASSERT_EQ(calls.size(), 1u);
    const std::wstring parameters = L" /S /D=" + m_installFolder;
    ASSERT_GE(calls[0].size(), parameters.size());
    EXPECT_EQ(calls[0].substr(calls[0].size() - parameters.size()), parameters) << WideToAnsi(calls[0]);
    EXPECT_NE(calls[0].find(m_installerDir + L"\\Korvane Setup.exe"), std::wstring::npos);

    // The classic edition was started from there, and still runs.
    const std::vector<std::wstring> classicStarts = ReadLines(m_installFolder + L"\\classic_started.txt");
    ASSERT_EQ(classicStarts.size(), 1u);
    EXPECT_EQ(AsciiLowerCase(classicStarts[0].c_str()), AsciiLowerCase((m_installFolder + L"\\Korvane.exe").c_str()));
    EXPECT_TRUE(IsProcessRunning(L"Korvane.exe"));

    // The trace tells the same story, on the nominal course.
    const std::vector<TraceLine> trace = ParseTrace(monitor.Messages(), program.Id());
    std::string all;
    for (const TraceLine& line : trace)
        all += "+" + std::to_string(line.ms) + " " + line.text + "\n";
    SCOPED_TRACE(all);
    const TraceLine* endMini = Find(trace, "ending: \"KorvaneMini.exe\" pass 1");
    const TraceLine* removed = Find(trace, "settings removed: \"" + WideToAnsi(m_settingsFile) + "\"");
    const TraceLine* endGallery = Find(trace, "ending: \"KorvaneGallery.exe\" pass 1");
    const TraceLine* installer = Find(trace, "installer started: \"" + WideToAnsi(m_installerDir) +
                                                 "\\Korvane Setup.exe\" /S /D=" + WideToAnsi(m_installFolder));
    const TraceLine* installerEnded = Find(trace, "installer ended: \"Korvane Setup.exe\"");
    const TraceLine* classic = Find(trace, "classic started: \"" + WideToAnsi(m_installFolder) + "\\Korvane.exe\"");
    const TraceLine* quit = Find(trace, "quit: classic edition running");
    ASSERT_TRUE(endMini && removed && endGallery && installer && installerEnded && classic && quit);
    EXPECT_LT(removed - &trace[0], endMini - &trace[0]);  // the settings go before the mini edition
    EXPECT_EQ(Find(trace, "ending: \"KorvaneMini.exe\" pass 2"), nullptr);

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
