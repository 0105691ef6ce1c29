#include "app/switch_lock.h"
#include "app/switch_lock_name.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::wstring Longest(size_t length)
{
    std::wstring path = L"C:";
    while (path.size() < length)
        path += L"\\Folder";
    return path.substr(0, length);
}

// Every spelling in a row names the same folder and must meet one lock.
TEST(SwitchLockName, AliasesOfOneFolderAgree)
{
    const std::vector<std::vector<std::wstring>> aliases = {
        {L"C:\\Apps\\Classic", L"c:\\apps\\classic", L"C:/Apps/Classic", L"C:\\Apps\\Classic\\",
         L"C:\\Apps\\Classic\\\\\\", L"C://Apps//Classic//", L"C:\\\\Apps\\/Classic", L"C:/Apps\\CLASSIC/",
         L"\\\\?\\C:\\Apps\\Classic", L"//?/c:/apps/classic/"},
        {L"\\\\Server\\Share\\Classic", L"//server/share/classic", L"\\\\SERVER\\\\Share\\Classic\\",
         L"\\\\?\\UNC\\Server\\Share\\Classic", L"\\\\?\\unc\\server\\share\\classic\\"},
        {L"D:\\Programme\\\u00DCber \u7248\u672C", L"d:/programme/\u00FCber \u7248\u672C/"},
        {L"C:\\", L"C:/", L"c:\\\\", L"C:\\/\\"},
        {L"E:\\\U0001F600\\x", L"e:/\U0001F600/X"},  // a surrogate pair survives the fold
    };
    for (const auto& row : aliases) {
        for (const std::wstring& alias : row) {
            SCOPED_TRACE(testing::Message() << "alias of row starting " << row.front().size() << " units");
            EXPECT_EQ(SwitchLockFolderKey(alias), SwitchLockFolderKey(row.front()));
            EXPECT_EQ(SwitchLockName(alias), SwitchLockName(row.front()));
        }
    }
}

// Pairs that look alike but are different folders must not block each other.
TEST(SwitchLockName, DifferentFoldersDiffer)
{
    const std::vector<std::wstring> folders = {
        L"C:\\Apps\\Classic",
        L"C:\\Apps\\Classic2",
        L"C:\\Apps\\Classi",
        L"C:\\Apps",
        L"D:\\Apps\\Classic",
        L"C:\\Apps\\Classic\\x",
        L"C:\\",
        L"C:",
        L"\\Server\\Share",
        L"\\\\Server\\Share",
        L"\\",
        L"\\\\",
        L"C:\\Apps\\Class ic",
        L"C:\\Apps\\Classic ",
        L"C:\\Apps.Classic",
        L"C:Apps\\Classic",
        L"C:\\Apps\\\u00DCber",
        L"C:\\Apps\\Uber",
        L"C:\\Apps\\\U0001F600",
        L"C:\\Apps\\\U0001F601",
        Longest(32000),
        Longest(32000) + L"x",
    };
    std::set<std::wstring> names;
    for (const std::wstring& folder : folders)
        names.insert(SwitchLockName(folder));
    EXPECT_EQ(names.size(), folders.size());
}

// The name stays in the session's namespace and is short and free of
// further backslashes however long or odd the folder is.
TEST(SwitchLockName, NameIsShortAndInTheSessionNamespace)
{
    const std::wstring prefix = L"Local\\ClassicSwitch-";
    std::wstring withLoneSurrogates = L"C:\\";
    withLoneSurrogates += static_cast<wchar_t>(0xD800);
    withLoneSurrogates += L"x";
    withLoneSurrogates += static_cast<wchar_t>(0xDC00);
    for (const std::wstring& folder : {std::wstring(L"C:\\Apps\\Classic"), Longest(32767), withLoneSurrogates,
                                       std::wstring(L"\\\\?\\"), std::wstring(L"////")}) {
        const std::wstring name = SwitchLockName(folder);
        ASSERT_EQ(name.compare(0, prefix.size(), prefix), 0);
        EXPECT_EQ(name.size(), prefix.size() + 16);
        EXPECT_EQ(name.find_first_not_of(L"0123456789abcdef", prefix.size()), std::wstring::npos);
    }
}

TEST(SwitchLockName, KeyShowsTheNormalisedFolder)
{
    EXPECT_EQ(SwitchLockFolderKey(L"c:/apps//classic/"), L"C:\\APPS\\CLASSIC");
    EXPECT_EQ(SwitchLockFolderKey(L"//?/unc/srv//share/"), L"\\\\SRV\\SHARE");
    EXPECT_EQ(SwitchLockFolderKey(L"c:\\\\"), L"C:\\");
    EXPECT_EQ(SwitchLockFolderKey(L"/"), L"\\");
    EXPECT_EQ(SwitchLockFolderKey(L"d:/\u00FCber"), L"D:\\\u00DCBER");
}

// A name of this test process's own, so that no running switch is disturbed.
std::wstring TestLockName(const wchar_t* tag)
{
    return L"Local\\ClassicSwitchTest-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + tag;
}

TEST(SwitchLock, SecondHolderIsTurnedAwayUntilTheFirstEnds)
{
    const std::wstring name = TestLockName(L"turn-away");
    {
        CSwitchLock first;
        ASSERT_EQ(first.Acquire(name.c_str()), CSwitchLock::Outcome::Acquired);
        CSwitchLock second;
        EXPECT_EQ(second.Acquire(name.c_str()), CSwitchLock::Outcome::HeldByAnother);
        // Being turned away holds nothing: the first still holds the lock alone.
        CSwitchLock third;
        EXPECT_EQ(third.Acquire(name.c_str()), CSwitchLock::Outcome::HeldByAnother);
    }
    CSwitchLock later;
    EXPECT_EQ(later.Acquire(name.c_str()), CSwitchLock::Outcome::Acquired);
}

// An object of another type squatting on the name, or a namespace that does
// not exist, must stop the switch rather than let it run unguarded.
TEST(SwitchLock, NameThatCannotBeAMutexIsUnavailable)
{
    const std::wstring name = TestLockName(L"squatted");
    HANDLE squatter = ::CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(squatter, nullptr);
    CSwitchLock lock;
    EXPECT_EQ(lock.Acquire(name.c_str()), CSwitchLock::Outcome::Unavailable);
    ::CloseHandle(squatter);

    CSwitchLock nowhere;
    EXPECT_EQ(nowhere.Acquire(L"NoSuchNamespace\\ClassicSwitch-0"), CSwitchLock::Outcome::Unavailable);
}

}  // namespace
