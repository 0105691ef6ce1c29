#include "workflow/exe_name_match.h"
#include "workflow/process_filter.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
    const wchar_t* name;
    const wchar_t* exeFile;
    bool matches;
};

TEST(ExeNameMatch, FoldsAsciiCaseOnly)
{
    const MatchCase cases[] = {
        {L"Mini.exe", L"Mini.exe", true},
        {L"MINI.EXE", L"mini.exe", true},
        {L"mInI.ExE", L"MiNi.eXe", true},
        {L"\u00C9t\u00E9.exe", L"\u00C9T\u00E9.EXE", true},   // only t/exe folded
        {L"\u00C9t\u00E9.exe", L"\u00E9t\u00E9.exe", false},  // É is not é
        {L"\u0130.exe", L"i.exe", false},                     // no Turkish dotted I
        {L"Mini", L"Mini.exe", false},                        // no default extension
        {L"Mini.exe", L"Mini", false},
        {L"Mini.exe", L"Mini.exe ", false},           // no trimming
        {L"C:\\Apps\\Mini.exe", L"Mini.exe", false},  // no folder handling
        {L"Mini*.exe", L"Mini2.exe", false},          // no wildcards
        {L"", L"", true},
        {L"", L"Mini.exe", false},
        {L"Mini.exe", L"", false},
        {L"@[`{.exe", L"@[`{.exe", true},  // neighbours of A-Z and a-z
        {L"@.exe", L"`.exe", false},
        {L"[.exe", L"{.exe", false},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(ExeNameMatches(AsciiLowerCase(c.name), c.exeFile), c.matches);
    }
}

TEST(ExeNameMatch, LowerCaseOfNullIsEmpty)
{
    EXPECT_EQ(AsciiLowerCase(nullptr), L"");
    EXPECT_EQ(AsciiLowerCase(L"AZaz09\u00C0"), L"azaz09\u00C0");
}

struct FilterCase {
    const char* what;
    SessionLookup ownSession;
    DWORD entryId;
    SessionLookup entrySession;
    bool counts;
};

TEST(ProcessFilter, OnlyOtherProcessesOfTheOwnSessionCount)
{
    constexpr DWORD kOwnId = 4242;
    const FilterCase cases[] = {
        {"same session", {true, 1}, 100, {true, 1}, true},
        {"session 0 on both sides", {true, 0}, 100, {true, 0}, true},
        {"other session", {true, 1}, 100, {true, 2}, false},
        {"services session", {true, 1}, 100, {true, 0}, false},
        {"own process", {true, 1}, kOwnId, {true, 1}, false},
        {"entry session unknown", {true, 1}, 100, {false, 1}, false},
        {"own session unknown", {false, 1}, 100, {true, 1}, false},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ProcessCountsAsOurs(kOwnId, c.ownSession, c.entryId, c.entrySession), c.counts);
    }
}

}  // namespace
