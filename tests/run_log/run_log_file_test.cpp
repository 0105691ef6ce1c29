// The log on disk, in this process: the temporary folder is pointed at a
// scratch folder through TMP and TEMP, as a user's environment would.
#include "workflow/run_log_file.h"
#include "workflow/run_log_text.h"

#include "framework/system_error_text.h"
#include "support/run_log_reader.h"
#include "support/text_files.h"
#include "support/unix_link.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class RunLogOnDisk : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedTmp = Variable(L"TMP");
        m_savedTemp = Variable(L"TEMP");
        m_root = TemporaryFolder() + L"\\cs-run-log-" + std::to_wstring(::GetCurrentProcessId());
        DeleteTree(m_root);
        ASSERT_TRUE(CreateFolders(m_root + L"\\Temp"));
        PointTemporaryFolderAt(m_root + L"\\Temp");
    }

    void TearDown() override
    {
        ::SetEnvironmentVariableW(L"TMP", m_savedTmp.c_str());
        ::SetEnvironmentVariableW(L"TEMP", m_savedTemp.c_str());
        if (!m_link.empty())
            RemoveUnixSymlink(m_link);
        DeleteTree(m_root);
    }

    static std::wstring Variable(const wchar_t* name)
    {
        wchar_t value[MAX_PATH];
        const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
        return std::wstring(value, length < MAX_PATH ? length : 0);
    }

    static void PointTemporaryFolderAt(const std::wstring& folder)
    {
        ::SetEnvironmentVariableW(L"TMP", folder.c_str());
        ::SetEnvironmentVariableW(L"TEMP", folder.c_str());
    }

    static SYSTEMTIME Time()
    {
        SYSTEMTIME time{};
        time.wYear = 2026;
        time.wMonth = 12;
        time.wDay = 11;
        time.wHour = 18;
        time.wMinute = 2;
        time.wSecond = 48;
        return time;
    }

    std::wstring LogPath() const { return m_root + L"\\Temp\\ClassicSwitch\\ClassicSwitch-20261211-180248-77.log"; }

    std::wstring m_root;
    std::wstring m_link;
    std::wstring m_savedTmp;
    std::wstring m_savedTemp;
};

// Made with its folder; others may read it meanwhile, but not write to it
// or delete it (another run's clean-up); closed with the log.
TEST_F(RunLogOnDisk, OpensANewFileThatOthersMayReadButNotDelete)
{
    {
        RunLog log;
        ASSERT_EQ(OpenRunLog(log, Time(), 77), L"");
        EXPECT_EQ(log.Path(), LogPath().c_str());
        const ULONGLONG ms = 5;
        EXPECT_EQ(WriteRunLogLine(log, &ms, L"quit: --AppName missing"), L"");

        const RunLogContent content = ReadRunLog(LogPath());
        ASSERT_TRUE(content.read);
        EXPECT_TRUE(content.byteOrderMark);
        ASSERT_EQ(content.entries.size(), 1u);
        EXPECT_EQ(content.entries[0].ms, 5);
        EXPECT_EQ(content.entries[0].text, L"quit: --AppName missing");

        EXPECT_FALSE(::DeleteFileW(LogPath().c_str()));
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        HANDLE writer = ::CreateFileW(LogPath().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
        if (writer != INVALID_HANDLE_VALUE)
            ::CloseHandle(writer);
    }
    EXPECT_TRUE(::DeleteFileW(LogPath().c_str()));
}

// A file of that name exists already (left by a run of the same id in the
// same second, or put there by someone): it is not opened, let alone
// written, and the trace is told why.
TEST_F(RunLogOnDisk, NeverOpensAFileThatExistsAlready)
{
    ASSERT_TRUE(CreateFolders(m_root + L"\\Temp\\ClassicSwitch"));
    ASSERT_TRUE(WriteTextFile(LogPath(), "someone else's"));
    RunLog log;
    const CString problem = OpenRunLog(log, Time(), 77);
    EXPECT_EQ(problem, RunLogProblem(LogPath().c_str(), ERROR_FILE_EXISTS, SystemErrorText(ERROR_FILE_EXISTS)));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(ReadTextLines(LogPath()), std::vector<std::wstring>{L"someone else's"});
}

TEST_F(RunLogOnDisk, ALogFolderThatLeadsElsewhereIsNotUsed)
{
    const std::wstring elsewhere = m_root + L"\\Elsewhere";
    ASSERT_TRUE(CreateFolders(elsewhere));
    m_link = m_root + L"\\Temp\\ClassicSwitch";
    ASSERT_TRUE(MakeUnixSymlink(elsewhere, m_link));
    RunLog log;
    EXPECT_EQ(OpenRunLog(log, Time(), 77).Str(), L"\"" + m_link + L"\" is a link or junction to elsewhere");
    EXPECT_FALSE(log.IsOpen());
    EXPECT_FALSE(PathExists(elsewhere + L"\\ClassicSwitch-20261211-180248-77.log"));
}

// Whatever the cause, the text names the path that failed and the system's
// code and text for it.
TEST_F(RunLogOnDisk, AnUnusableTemporaryFolderIsReportedWithTheSystemsError)
{
    const struct {
        const wchar_t* temp;  // under the root
        bool fileInTheWay;
        DWORD error;
    } cases[] = {
        {L"\\Missing", false, ERROR_PATH_NOT_FOUND},
        {L"\\Occupied", true, ERROR_ALREADY_EXISTS},
    };
    for (const auto& c : cases) {
        const std::wstring temp = m_root + c.temp;
        if (c.fileInTheWay) {
            ASSERT_TRUE(CreateFolders(temp));
            ASSERT_TRUE(WriteTextFile(temp + L"\\ClassicSwitch", "a file"));
        }
        PointTemporaryFolderAt(temp);
        RunLog log;
        const std::wstring folder = temp + L"\\ClassicSwitch";
        EXPECT_EQ(OpenRunLog(log, Time(), 77), RunLogProblem(folder.c_str(), c.error, SystemErrorText(c.error)));
        EXPECT_FALSE(log.IsOpen());
        EXPECT_EQ(WriteRunLogLine(log, nullptr, L"x"), L"");  // a log never opened reports nothing more
        RemoveOldRunLogs(log);                                // and deletes nothing
    }
    EXPECT_FALSE(PathExists(m_root + L"\\Missing"));
    EXPECT_EQ(ReadTextLines(m_root + L"\\Occupied\\ClassicSwitch"), std::vector<std::wstring>{L"a file"});
}

}  // namespace
