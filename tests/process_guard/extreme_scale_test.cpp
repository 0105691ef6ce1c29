#include "process_guard/switch_runs.h"
#include "support/child_process.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

// Scales at the clamp's limits give windows far larger than the screen, or
// of negative size; the program must create, place and paint them without
// failing. Text values are quoted so that a leading blank keeps a minus sign
// from ending the value list.
TEST(ExtremeScale, ProgramRunsWithScalesAtTheLimits)
{
    ScratchFolder root(L"scale");
    for (const wchar_t* scale : {L"1e309", L" -1e309", L"nan", L"1e-320"}) {
        SCOPED_TRACE(testing::Message() << "scale text of " << std::wcslen(scale) << " units");
        const std::wstring commandLine =
            SwitchCommandLine(ProgramUnderTestPath(), root.Path(), L"cs-missing-setup.exe",
                              root.Path() + L"\\install-" + std::to_wstring(std::wcslen(scale))) +
            L" --Scale \"" + scale + L"\"";
        ChildProcess run(commandLine);
        ASSERT_TRUE(run.Started());
        DWORD exitCode = 0;
        // Either it has ended as a switch ends, with 0, or it still runs on
        // its own after two seconds. A fault either ends it with the fault's
        // code or, under Wine, leaves it held by the system's debugger.
        if (run.Wait(2000, &exitCode)) {
            EXPECT_EQ(exitCode, 0u);
        } else {
            BOOL debugged = TRUE;
            ASSERT_TRUE(::CheckRemoteDebuggerPresent(run.Handle(), &debugged));
            EXPECT_FALSE(debugged) << "the program faulted";
        }
    }
}

}  // namespace
