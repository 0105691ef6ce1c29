#include "workflow/process_utils.h"

#include "support/child_process.h"
#include "support/test_paths.h"
#include "workflow/exe_name_match.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// Copies of the idle stand-in under chosen executable names, in a folder of
// their own, started and owned by the fixture.
class StandInProcesses : public testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
        m_folder = std::wstring(temp) + L"cs-process-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_folder.c_str(), nullptr);
    }

    void TearDown() override
    {
        m_children.clear();  // ends and waits for whatever still runs
        for (const std::wstring& file : m_files)
            ::DeleteFileW(file.c_str());
        ::RemoveDirectoryW(m_folder.c_str());
    }

    std::wstring CopyIntoFolder(const std::wstring& source, const std::wstring& name)
    {
        const std::wstring path = m_folder + L"\\" + name;
        if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            EXPECT_TRUE(::CopyFileW(source.c_str(), path.c_str(), TRUE));
            m_files.push_back(path);
        }
        return path;
    }

    ChildProcess& Start(const std::wstring& exeName)
    {
        const std::wstring path = CopyIntoFolder(TestProgramPath(L"gui_idle.exe"), exeName);
        m_children.push_back(std::make_unique<ChildProcess>(Quoted(path) + L" 60000"));
        EXPECT_TRUE(m_children.back()->Started()) << "cannot start " << testing::PrintToString(exeName);
        return *m_children.back();
    }

private:
    std::wstring m_folder;
    std::vector<std::wstring> m_files;
    std::vector<std::unique_ptr<ChildProcess>> m_children;
};

std::wstring OwnExeName()
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, length);
    return full.substr(full.find_last_of(L'\\') + 1);
}

TEST_F(StandInProcesses, EveryCopyOfANameIsAskedToEnd)
{
    ChildProcess& first = Start(L"CsTwin.exe");
    ChildProcess& second = Start(L"CsTwin.exe");
    EXPECT_TRUE(IsProcessRunning(L"CsTwin.exe"));

    std::vector<TerminationRequest> requests;
    EXPECT_TRUE(KillProcessByName(L"cstwin.EXE", &requests));
    ASSERT_EQ(requests.size(), 2u);
    for (const TerminationRequest& request : requests) {
        EXPECT_TRUE(request.opened);
        EXPECT_TRUE(request.ended);
        EXPECT_TRUE(request.processId == first.Id() || request.processId == second.Id());
    }
    EXPECT_NE(requests[0].processId, requests[1].processId);

    DWORD code = 99;
    ASSERT_TRUE(first.Wait(5000, &code));
    EXPECT_EQ(code, 0u);  // ended by the request, not by its own timeout (7)
    ASSERT_TRUE(second.Wait(5000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(IsProcessRunning(L"CsTwin.exe"));
    EXPECT_FALSE(KillProcessByName(L"CsTwin.exe"));  // nothing left to match
}

struct QueryCase {
    const wchar_t* query;
    bool found;
};

TEST_F(StandInProcesses, NamesMatchFoldingAsciiCaseOnly)
{
    ChildProcess& ascii = Start(L"CsCaseProbe.exe");
    ChildProcess& accented = Start(L"Cs\u00C9tude.exe");  // "CsÉtude.exe"
    const QueryCase cases[] = {
        {L"CsCaseProbe.exe", true},
        {L"CSCASEPROBE.EXE", true},
        {L"csCASEprobe.Exe", true},
        {L"CsCaseProbe", false},
        {L"CsCaseProbe.ex", false},
        {L"CsCaseProbe.exe ", false},
        {L"Cs\u00C9tude.exe", true},
        {L"CS\u00C9TUDE.EXE", true},
        {L"Cs\u00E9tude.exe", false},  // "Csétude.exe"
        {L"", false},
    };
    for (const QueryCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.query)));
        EXPECT_EQ(IsProcessRunning(c.query) != FALSE, c.found);
    }
    for (const QueryCase& c : cases) {
        if (c.found)
            continue;
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.query)));
        EXPECT_FALSE(KillProcessByName(c.query));
    }
    EXPECT_TRUE(ascii.Running());
    EXPECT_TRUE(accented.Running());

    EXPECT_TRUE(KillProcessByName(L"CS\u00C9TUDE.EXE"));
    DWORD code = 99;
    ASSERT_TRUE(accented.Wait(5000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(ascii.Running());
}

TEST_F(StandInProcesses, NullNameIsNeverRunningAndEndsNothing)
{
    ChildProcess& child = Start(L"CsNull.exe");
    EXPECT_FALSE(IsProcessRunning(nullptr));
    EXPECT_FALSE(KillProcessByName(nullptr));
    std::vector<TerminationRequest> requests;
    EXPECT_FALSE(KillProcessByName(nullptr, &requests));
    EXPECT_TRUE(requests.empty());
    EXPECT_TRUE(child.Running());
}

// Where a running copy came from, as the switch remembers the mini edition
// before ending it; processes it must not look at give no path.
TEST_F(StandInProcesses, ImagePathIsTheFullPathOfARunningCopy)
{
    ChildProcess& child = Start(L"Cs Path Probe.exe");
    const std::wstring expected = CopyIntoFolder(TestProgramPath(L"gui_idle.exe"), L"Cs Path Probe.exe");

    std::wstring path = L"untouched";
    ASSERT_TRUE(GetProcessImagePath(L"CS PATH PROBE.EXE", path));
    EXPECT_EQ(AsciiLowerCase(path.c_str()), AsciiLowerCase(expected.c_str()));

    const std::wstring own = OwnExeName();  // never this program itself
    const wchar_t* noPath[] = {nullptr, L"Cs Path Probe", L"CsNoSuchProcess.exe", own.c_str()};
    for (const wchar_t* name : noPath) {
        SCOPED_TRACE(name ? testing::PrintToString(std::wstring(name)) : "null");
        std::wstring untouched = L"untouched";
        EXPECT_FALSE(GetProcessImagePath(name, untouched));
        EXPECT_EQ(untouched, L"untouched");
    }

    child.Terminate();
    std::wstring afterEnd = L"untouched";
    EXPECT_FALSE(GetProcessImagePath(L"Cs Path Probe.exe", afterEnd));
    EXPECT_EQ(afterEnd, L"untouched");
}

// The mini edition's name might be given as this program's own: the program
// must neither see itself nor end itself, while another process of that
// name still counts. The checks run in a copy of this test program under a
// name of its own: a process that ended itself would leave exit code 0,
// which looks like success to whoever runs the tests, and the test runner
// itself must not share the name.
constexpr wchar_t kProbeVariable[] = L"CS_OWN_PROCESS_PROBE";
constexpr DWORD kProbeSurvived = 42;

TEST_F(StandInProcesses, OwnProcessIsNeverMatched)
{
    if (::GetEnvironmentVariableW(kProbeVariable, nullptr, 0) == 0) {
        wchar_t self[MAX_PATH];
        const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::wstring probePath = CopyIntoFolder(std::wstring(self, length), L"CsOwnProbe.exe");
        ::SetEnvironmentVariableW(kProbeVariable, L"1");
        ChildProcess probe(Quoted(probePath) +
                           L" --gtest_brief=1 --gtest_filter=StandInProcesses.OwnProcessIsNeverMatched");
        ::SetEnvironmentVariableW(kProbeVariable, nullptr);
        ASSERT_TRUE(probe.Started());
        DWORD code = 0;
        ASSERT_TRUE(probe.Wait(60000, &code));
        EXPECT_EQ(code, kProbeSurvived) << "0 means the probe ended itself";
        return;
    }

    const std::wstring own = OwnExeName();
    EXPECT_FALSE(IsProcessRunning(own.c_str()));
    std::vector<TerminationRequest> requests;
    EXPECT_FALSE(KillProcessByName(own.c_str(), &requests));
    EXPECT_TRUE(requests.empty());

    ChildProcess& twin = Start(own);
    EXPECT_TRUE(IsProcessRunning(own.c_str()));
    EXPECT_TRUE(KillProcessByName(own.c_str(), &requests));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].processId, twin.Id());
    EXPECT_TRUE(twin.Wait(5000));
    if (!HasFailure()) {
        TearDown();
        std::fflush(stdout);
        ::ExitProcess(kProbeSurvived);
    }
}

}  // namespace
