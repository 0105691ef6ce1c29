// The log's texts and the choice of the logs that go, without a file.
#include "workflow/run_log_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms = 0)
{
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = ms;
    return time;
}

TEST(RunLogFileName, IsTheLocalTimeAndTheProcessIdAndNothingElseMatchesIt)
{
    const struct {
        SYSTEMTIME time;
        DWORD processId;
        const wchar_t* name;
    } made[] = {
        {Time(2026, 12, 11, 18, 2, 48, 999), 1234, L"ClassicSwitch-20261211-180248-1234.log"},
        {Time(2027, 1, 2, 3, 4, 5), 0, L"ClassicSwitch-20270102-030405-0.log"},
        {Time(1999, 9, 9, 0, 0, 0), 4294967295u, L"ClassicSwitch-19990909-000000-4294967295.log"},
    };
    for (const auto& m : made) {
        EXPECT_EQ(RunLogFileName(m.time, m.processId), m.name);
        EXPECT_TRUE(IsRunLogFileName(m.name));
    }

    const wchar_t* const others[] = {
        L"",
        L"ClassicSwitch-",
        L"classicswitch-20261211-180248-1234.log",
        L"ClassicSwitch-20261211-180248-1234.LOG",
        L"ClassicSwitch-20261211-180248-1234.lo",
        L"ClassicSwitch-20261211-180248-1234.log.txt",
        L"ClassicSwitch-20261211-180248-1234.log ",
        L"ClassicSwitch-20261211-180248-1234.txt",
        L"ClassicSwitch-2026121-180248-1234.log",
        L"ClassicSwitch-202612111-180248-1234.log",
        L"ClassicSwitch-20261211-18024-1234.log",
        L"ClassicSwitch-20261211-180248-.log",
        L"ClassicSwitch-20261211-180248-12345678901.log",
        L"ClassicSwitch-20261211-180248-12a4.log",
        L"ClassicSwitch-20261211_180248-1234.log",
        L"XClassicSwitch-20261211-180248-1234.log",
        L" ClassicSwitch-20261211-180248-1234.log",
        L"ClassicSwitch-\uFF12\uFF10\uFF12\uFF16\uFF11\uFF12\uFF11\uFF11-180248-1234.log",  // full-width digits
    };
    for (const wchar_t* name : others)
        EXPECT_FALSE(IsRunLogFileName(name)) << std::wstring(name).size();
}

TEST(RunLogLine, StampsTheLocalTimeAndForTraceLinesTheMillisecondsSinceCreation)
{
    const ULONGLONG ms = 3105;
    const ULONGLONG zero = 0;
    const struct {
        SYSTEMTIME time;
        const ULONGLONG* ms;
        const wchar_t* text;
        const wchar_t* line;
    } cases[] = {
        {Time(2026, 12, 11, 18, 2, 48, 123), &ms, L"quit: classic edition running",
         L"2026-12-11 18:02:48.123 +3105 ms: quit: classic edition running\r\n"},
        {Time(2027, 1, 2, 3, 4, 5, 6), &zero, L"x", L"2027-01-02 03:04:05.006 +0 ms: x\r\n"},
        {Time(2026, 12, 11, 18, 2, 48, 0), nullptr, L"ended with exit code 0",
         L"2026-12-11 18:02:48.000 ended with exit code 0\r\n"},
        {Time(2026, 12, 11, 18, 2, 48, 0), nullptr, L"", L"2026-12-11 18:02:48.000 \r\n"},
        // An entry is always one line: line breaks and other controls become spaces.
        {Time(2026, 12, 11, 18, 2, 48, 0), nullptr,
         L"a\r\nb\tc\x7F"
         L"d\x01",
         L"2026-12-11 18:02:48.000 a  b c d \r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunLogLine(c.time, c.ms, c.text), c.line);
}

TEST(RunLogUtf8, EncodesEveryCodePointAndReplacesLoneSurrogates)
{
    const struct {
        const wchar_t* text;
        std::string bytes;
    } cases[] = {
        {L"", ""},
        {L"C:\\Temp", "C:\\Temp"},
        {L"\u00E9", "\xC3\xA9"},
        {L"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},
        {L"\u7248", "\xE7\x89\x88"},
        {L"\uFFFF", "\xEF\xBF\xBF"},
        {L"\U0001F600", "\xF0\x9F\x98\x80"},
        {L"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        {L"a\xD800"
         L"b",
         "a\xEF\xBF\xBD"
         "b"},  // a high surrogate alone
        {L"a\xDC00"
         L"b",
         "a\xEF\xBF\xBD"
         "b"},                                          // a low surrogate alone
        {L"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // in the wrong order
        {L"a\xD83D", "a\xEF\xBF\xBD"},                  // cut off at the end
    };
    for (const auto& c : cases) {
        const CString text(c.text);
        const size_t length = Utf8Length(text);
        EXPECT_EQ(length, c.bytes.size()) << c.bytes;
        std::string encoded(length + 1, '#');
        EncodeUtf8(text, &encoded[0]);
        EXPECT_EQ(encoded, c.bytes + "#");  // exactly that many bytes written
    }
}

struct Entry {
    const wchar_t* name;
    DWORD attributes;
    ULONGLONG lastWrite;
};

std::set<std::wstring> Doomed(const wchar_t* ownName, const std::vector<Entry>& entries)
{
    RunLogRetention retention(ownName);
    std::set<std::wstring> doomed;
    for (const Entry& entry : entries) {
        CString name;
        if (retention.Consider(entry.name, entry.attributes, entry.lastWrite, name)) {
            EXPECT_TRUE(doomed.insert(name.Str()).second) << "doomed twice";
        }
    }
    return doomed;
}

std::wstring LogName(int n)
{
    return L"ClassicSwitch-20261211-1800" + std::to_wstring(10 + n) + L"-" + std::to_wstring(100 + n) + L".log";
}

// Fifteen other logs, each written at time n, met in every order: the six
// written first go, and only they, whatever else the folder holds.
TEST(RunLogRetention, KeepsTheNewestLogsAndDeletesNothingElse)
{
    std::vector<std::wstring> names;
    for (int n = 0; n < 15; ++n)
        names.push_back(LogName(n));
    const std::wstring own = L"ClassicSwitch-20261211-180000-7.log";
    std::vector<Entry> entries;
    for (int n = 0; n < 15; ++n)
        entries.push_back(Entry{names[static_cast<size_t>(n)].c_str(), FILE_ATTRIBUTE_ARCHIVE, 1000u + n});
    // The run's own log, even were it the oldest; and things that are not
    // logs, however old.
    entries.push_back(Entry{own.c_str(), FILE_ATTRIBUTE_ARCHIVE, 1});
    entries.push_back(Entry{L"ClassicSwitch-20200101-000000-1.log", FILE_ATTRIBUTE_DIRECTORY, 2});
    entries.push_back(
        Entry{L"ClassicSwitch-20200101-000000-2.log", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, 3});
    entries.push_back(Entry{L"ClassicSwitch-20200101-000000-3.log", FILE_ATTRIBUTE_REPARSE_POINT, 4});
    entries.push_back(Entry{L"ClassicSwitch-20200101-000000-4.txt", FILE_ATTRIBUTE_ARCHIVE, 5});
    entries.push_back(Entry{L"classicswitch-20200101-000000-5.log", FILE_ATTRIBUTE_ARCHIVE, 6});
    entries.push_back(Entry{L".", FILE_ATTRIBUTE_DIRECTORY, 7});

    const std::set<std::wstring> expected(names.begin(), names.begin() + 6);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.lastWrite < b.lastWrite; });
    EXPECT_EQ(Doomed(own.c_str(), entries), expected) << "oldest first";
    std::reverse(entries.begin(), entries.end());
    EXPECT_EQ(Doomed(own.c_str(), entries), expected) << "newest first";
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::vector<Entry> shuffled = entries;
        for (size_t i = shuffled.size() - 1; i > 0; --i)
            std::swap(shuffled[i], shuffled[(i * 7919u + seed * 104729u) % (i + 1)]);
        EXPECT_EQ(Doomed(own.c_str(), shuffled), expected) << "order " << seed;
    }
}

TEST(RunLogRetention, KeepsTenWithItsOwnAndOrdersLogsWrittenAtOnceByName)
{
    std::vector<std::wstring> names;
    for (int n = 0; n < 12; ++n)
        names.push_back(LogName(n));
    const std::wstring own = LogName(49);

    // Nine others and the run's own: all stay.
    std::vector<Entry> nine;
    for (int n = 0; n < 9; ++n)
        nine.push_back(Entry{names[static_cast<size_t>(n)].c_str(), FILE_ATTRIBUTE_ARCHIVE, 5});
    EXPECT_TRUE(Doomed(own.c_str(), nine).empty());

    // Twelve others written at the same moment (a coarse file system): the
    // names, which hold the time of the run, tell the older ones.
    std::vector<Entry> twelve;
    for (int n = 11; n >= 0; --n)
        twelve.push_back(Entry{names[static_cast<size_t>(n)].c_str(), FILE_ATTRIBUTE_ARCHIVE, 5});
    EXPECT_EQ(Doomed(own.c_str(), twelve), (std::set<std::wstring>{names[0], names[1], names[2]}));
}

TEST(RunLogProblem, NamesThePathTheCodeAndTheText)
{
    EXPECT_EQ(RunLogProblem(L"C:\\Temp\\ClassicSwitch", 5, L"Access denied."),
              L"\"C:\\Temp\\ClassicSwitch\" error 5: Access denied.");
}

}  // namespace
