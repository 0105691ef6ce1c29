// The log folder over many runs: it keeps the ten newest logs, and deletes
// nothing but the program's own older logs, whatever else the folder holds,
// links to other folders included.
#include "installer_scene.h"

#include "support/run_log_reader.h"
#include "support/test_paths.h"
#include "support/text_files.h"
#include "support/unix_link.h"
#include "workflow/run_log_text.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

// Things in the log folder that are not the program's logs, each named to
// be mistaken for one. Their times make them older than any log.
const wchar_t* const kLookAlikes[] = {
    L"classicswitch-20200101-000000-13.log",           // a letter's case
    L"ClassicSwitch-20200101-000000-14.txt",           // the extension
    L"ClassicSwitch-20200101-000000-15.log.bak",       // one more extension
    L"ClassicSwitch-20200101-000000-16.lo",            // a letter short
    L"ClassicSwitch-2020010-000000-17.log",            // a digit short
    L"ClassicSwitch-20200101-000000-.log",             // no process id
    L"ClassicSwitch-20200101-000000-12345678901.log",  // eleven digits
    L"ClassicSwitch-20200101-000000-1x.log",           // a letter among the digits
    L"XClassicSwitch-20200101-000000-18.log",          // a letter before
    L"ClassicSwitch_20200101-000000-19.log",           // another separator
    L"notes.txt",
};
// Logs of the program's own from long ago: the first to go.
const wchar_t* const kOldLogs[] = {L"ClassicSwitch-20200101-000000-11.log", L"ClassicSwitch-20200101-000000-12.log"};

bool SetOld(const std::wstring& path)
{
    const FILETIME old{0x00000000, 0x01D5C03C};  // the turn of 2019 and 2020
    HANDLE file = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool set = ::SetFileTime(file, &old, &old, &old) != FALSE;
    ::CloseHandle(file);
    return set;
}

bool PlaceOldFile(const std::wstring& path, const std::string& content)
{
    return WriteTextFile(path, content) && SetOld(path);
}

std::string Content(const std::wstring& path)
{
    std::string text;
    for (const std::wstring& line : ReadTextLines(path))
        text += AnsiFromWide(line) + "\n";
    return text;
}

// Names in the folder, as listed.
std::set<std::wstring> Listing(const std::wstring& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.insert(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

class LogFolder : public InstallerScene {
protected:
    void TearDown() override
    {
        for (const std::wstring& link : m_links)
            RemoveUnixSymlink(link);
        InstallerScene::TearDown();
    }

    std::vector<std::wstring> m_links;
};

TEST_F(LogFolder, TwelveRunsKeepTheTenNewestLogsAndTouchNothingElse)
{
    const std::wstring temp = m_root + L"\\Temp";
    const std::wstring logs = RunLogFolder(temp);
    const std::wstring elsewhere = m_root + L"\\Elsewhere";
    ASSERT_TRUE(CreateFolders(logs));
    ASSERT_TRUE(CreateFolders(elsewhere));
    for (const wchar_t* name : kLookAlikes)
        ASSERT_TRUE(PlaceOldFile(logs + L"\\" + name, AnsiFromWide(name)));
    for (const wchar_t* name : kOldLogs)
        ASSERT_TRUE(PlaceOldFile(logs + L"\\" + name, "an old log"));
    // A folder named as a log, with a log-like file in it.
    const std::wstring folderLikeALog = logs + L"\\ClassicSwitch-20200101-000000-20.log";
    ASSERT_TRUE(CreateFolders(folderLikeALog));
    ASSERT_TRUE(PlaceOldFile(folderLikeALog + L"\\ClassicSwitch-20200101-000000-21.log", "inside a folder"));
    ASSERT_TRUE(SetOld(folderLikeALog));
    // Links to a folder elsewhere that holds old log-like files: one named
    // as a log, one not.
    const std::vector<std::wstring> elsewhereFiles{L"ClassicSwitch-20200101-000000-22.log", L"keep.txt"};
    for (const std::wstring& name : elsewhereFiles)
        ASSERT_TRUE(PlaceOldFile(elsewhere + L"\\" + name, "elsewhere"));
    for (const wchar_t* name : {L"ClassicSwitch-20200101-000000-23.log", L"Elsewhere link"}) {
        m_links.push_back(logs + L"\\" + name);
        ASSERT_TRUE(MakeUnixSymlink(elsewhere, m_links.back()));
        const DWORD attributes = ::GetFileAttributesW(m_links.back().c_str());
        ASSERT_EQ(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
                  static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
            << "Wine no longer shows a folder link as a reparse point";
    }
    const std::set<std::wstring> before = Listing(logs);

    // Twelve runs that end at start-up (no --AppName): each writes its log.
    const std::wstring environment = EnvironmentWith({{L"TEMP", temp}, {L"TMP", temp}});
    std::vector<std::wstring> runLogs;
    for (int i = 0; i < 12; ++i) {
        const Run run = RunSwitch(UsualArguments(L"--AppName"), nullptr, &environment);
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.exitCode, 0u);
        ASSERT_EQ(run.trace.size(), 1u) << TraceListing(run.trace);
        EXPECT_EQ(run.trace[0].text, "quit: --AppName missing");
        const std::wstring path = RunLogOf(temp, run.processId);
        ASSERT_FALSE(path.empty()) << "run " << i;
        const RunLogContent log = ReadRunLog(path);
        ASSERT_GE(log.entries.size(), 3u);
        EXPECT_EQ(log.entries[log.entries.size() - 3].text, L"window: not shown");
        EXPECT_EQ(log.entries[log.entries.size() - 2].text, L"quit: --AppName missing");
        EXPECT_EQ(log.entries.back().text, L"ended with exit code 0");
        runLogs.push_back(path.substr(path.find_last_of(L'\\') + 1));
    }

    // The ten newest logs, and everything that was there but the old logs.
    std::set<std::wstring> expected = before;
    for (const wchar_t* name : kOldLogs)
        expected.erase(name);
    expected.insert(runLogs.begin() + 2, runLogs.end());
    const std::set<std::wstring> after = Listing(logs);
    EXPECT_EQ(after, expected);
    size_t logsLeft = 0;
    for (const std::wstring& name : after)
        logsLeft += IsRunLogFileName(name.c_str()) &&
                    !(::GetFileAttributesW((logs + L"\\" + name).c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(logsLeft, 10u);

    // What is left is untouched.
    for (const wchar_t* name : kLookAlikes)
        EXPECT_EQ(Content(logs + L"\\" + name), AnsiFromWide(name) + "\n") << AnsiFromWide(name);
    EXPECT_EQ(Content(folderLikeALog + L"\\ClassicSwitch-20200101-000000-21.log"), "inside a folder\n");
    EXPECT_EQ(Listing(elsewhere), std::set<std::wstring>(elsewhereFiles.begin(), elsewhereFiles.end()));
    for (const std::wstring& name : elsewhereFiles)
        EXPECT_EQ(Content(elsewhere + L"\\" + name), "elsewhere\n");
    for (const std::wstring& link : m_links)
        EXPECT_NE(::GetFileAttributesW(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
}

}  // namespace
