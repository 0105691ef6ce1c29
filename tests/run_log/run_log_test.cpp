// The log's bookkeeping: its byte order mark, the size cap and its last
// line, and what happens when the disk refuses a line.
#include "workflow/run_log.h"
#include "workflow/run_log_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Keeps what it is given; refuses, with the error given, from the
// failAt-th append on (counting from 1).
class FakeSink : public RunLogSink {
public:
    struct Record {
        std::string bytes;
        int appends = 0;
    };
    FakeSink(Record& record, int failAt = 0, DWORD error = ERROR_DISK_FULL)
        : m_record(record), m_failAt(failAt), m_error(error)
    {}

    DWORD Append(const char* bytes, size_t count) override
    {
        if (++m_record.appends >= m_failAt && m_failAt > 0)
            return m_error;
        m_record.bytes.append(bytes, count);
        return ERROR_SUCCESS;
    }

private:
    Record& m_record;
    int m_failAt;
    DWORD m_error;
};

SYSTEMTIME Noon()
{
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 11;
    time.wHour = 12;
    return time;
}

const std::string kBom = "\xEF\xBB\xBF";

TEST(RunLog, StartsWithTheByteOrderMarkAndWritesEachLineAtOnce)
{
    FakeSink::Record record;
    RunLog log;
    ASSERT_TRUE(log.Open(std::make_unique<FakeSink>(record), L"C:\\T\\x.log"));
    EXPECT_TRUE(log.IsOpen());
    EXPECT_EQ(record.bytes, kBom);
    const ULONGLONG ms = 100;
    EXPECT_EQ(log.Write(Noon(), nullptr, L"ClassicSwitch 1.0.0.0"), RunLogOutcome::Written);
    EXPECT_EQ(record.bytes, kBom + "2026-12-11 12:00:00.000 ClassicSwitch 1.0.0.0\r\n");  // nothing kept back
    EXPECT_EQ(log.Write(Noon(), &ms, L"settings removed: \"C:\\\u7248.ini\""), RunLogOutcome::Written);
    EXPECT_EQ(record.bytes, kBom + "2026-12-11 12:00:00.000 ClassicSwitch 1.0.0.0\r\n"
                                   "2026-12-11 12:00:00.000 +100 ms: settings removed: \"C:\\\xE7\x89\x88.ini\"\r\n");
    EXPECT_EQ(record.appends, 3);
    EXPECT_EQ(log.Error(), static_cast<DWORD>(ERROR_SUCCESS));
}

// Lines of a known size fill the log; the one that would leave no room for
// the last line is dropped, the last line takes its place, and nothing
// follows, however short.
TEST(RunLog, StopsAtTheCapWithOneLastLineThatSaysSo)
{
    const std::string full = "2026-12-11 12:00:00.000 log full at 256 KB: the lines after this one are dropped\r\n";
    for (size_t lineText : {1000u, 4093u, 70000u}) {
        SCOPED_TRACE(lineText);
        FakeSink::Record record;
        RunLog log;
        ASSERT_TRUE(log.Open(std::make_unique<FakeSink>(record), L"x.log"));
        const CString text(std::wstring(lineText, L'a').c_str());
        const size_t lineBytes = 24 + lineText + 2;
        size_t written = 0;
        while (log.Write(Noon(), nullptr, text) == RunLogOutcome::Written)
            ++written;
        EXPECT_EQ(written, (RunLog::kCapBytes - 3 - RunLog::kFullLineReserve) / lineBytes);
        EXPECT_EQ(record.bytes.size(), 3 + written * lineBytes + full.size());
        EXPECT_LE(record.bytes.size(), RunLog::kCapBytes);
        EXPECT_EQ(record.bytes.substr(record.bytes.size() - full.size()), full);
        EXPECT_LE(full.size(), RunLog::kFullLineReserve);

        const std::string before = record.bytes;
        const ULONGLONG ms = 1;
        EXPECT_EQ(log.Write(Noon(), &ms, L"short"), RunLogOutcome::Dropped);
        EXPECT_EQ(log.Write(Noon(), nullptr, L""), RunLogOutcome::Dropped);
        EXPECT_EQ(record.bytes, before);
    }
}

// The disk refuses a line (full, or gone): that write reports the failure
// once, with the system's code, and the log is closed for good.
TEST(RunLog, TheFirstRefusedLineClosesTheLog)
{
    for (int failAt : {2, 3}) {
        SCOPED_TRACE(failAt);
        FakeSink::Record record;
        RunLog log;
        ASSERT_TRUE(log.Open(std::make_unique<FakeSink>(record, failAt, ERROR_DISK_FULL), L"C:\\T\\x.log"));
        if (failAt == 3) {
            EXPECT_EQ(log.Write(Noon(), nullptr, L"one"), RunLogOutcome::Written);
        }
        EXPECT_EQ(log.Write(Noon(), nullptr, L"refused"), RunLogOutcome::Failed);
        EXPECT_FALSE(log.IsOpen());
        EXPECT_EQ(log.Error(), static_cast<DWORD>(ERROR_DISK_FULL));
        EXPECT_EQ(log.Path(), L"C:\\T\\x.log");
        const int appends = record.appends;
        EXPECT_EQ(log.Write(Noon(), nullptr, L"later"), RunLogOutcome::Dropped);
        EXPECT_EQ(record.appends, appends);  // nothing more is tried
    }
}

TEST(RunLog, AFileThatCannotTakeEvenTheByteOrderMarkIsNoLog)
{
    FakeSink::Record record;
    RunLog log;
    EXPECT_FALSE(log.Open(std::make_unique<FakeSink>(record, 1, ERROR_ACCESS_DENIED), L"x.log"));
    EXPECT_FALSE(log.IsOpen());
    EXPECT_EQ(log.Error(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(log.Write(Noon(), nullptr, L"x"), RunLogOutcome::Dropped);

    RunLog never;  // a log that was never opened takes nothing, and fails nothing
    EXPECT_EQ(never.Write(Noon(), nullptr, L"x"), RunLogOutcome::Dropped);
    EXPECT_EQ(never.Error(), static_cast<DWORD>(ERROR_SUCCESS));
}

// The last line itself refused: that is a failure like any other.
TEST(RunLog, ARefusedLastLineIsAFailureToo)
{
    FakeSink::Record record;
    RunLog log;
    ASSERT_TRUE(log.Open(std::make_unique<FakeSink>(record, 4, ERROR_DISK_FULL), L"x.log"));
    const CString big(std::wstring(120000, L'a').c_str());
    EXPECT_EQ(log.Write(Noon(), nullptr, big), RunLogOutcome::Written);
    EXPECT_EQ(log.Write(Noon(), nullptr, big), RunLogOutcome::Written);
    EXPECT_EQ(log.Write(Noon(), nullptr, big), RunLogOutcome::Failed);
    EXPECT_EQ(log.Error(), static_cast<DWORD>(ERROR_DISK_FULL));
}

}  // namespace
