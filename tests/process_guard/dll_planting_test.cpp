#include "process_guard/switch_runs.h"
#include "support/child_process.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

// DLLs that are no KnownDLLs and that the program loads itself (gdiplus,
// dwmapi) or that the system loads into a windowed program (uxtheme,
// version). Planted copies must never be loaded in their place.
const wchar_t* const kProbeDlls[] = {L"gdiplus.dll", L"dwmapi.dll", L"uxtheme.dll", L"version.dll"};

// Wine's own user32 imports version.dll, so Wine's loader resolves it while
// it starts the process, before any of the program's code runs, and a copy
// beside the program wins once native DLLs are preferred. On Windows user32
// is a KnownDLL whose dependencies come from the system folder. So beside
// the program the probe is planted only where the program has a say.
bool PlantedBesideTheProgram(const wchar_t* dll)
{
    return std::wcscmp(dll, L"version.dll") != 0;
}

std::wstring ProbePath(const wchar_t* name)
{
    return WindowsPathFromUnix(CS_TEST_PROBES_DIR) + L"\\" + name;
}

// Wine prefers its own built-in DLLs; this makes it take a DLL found on the
// search path first, as Windows does, so that a planted copy would win. Wine
// reads the overrides per program name when a process starts (its
// WINEDLLOVERRIDES variable counts only where Wine itself was started).
class PreferPlantedDlls : private CNoCopy {
public:
    explicit PreferPlantedDlls(const wchar_t* programName)
        : m_key(std::wstring(L"Software\\Wine\\AppDefaults\\") + programName)
    {
        const std::wstring overrides = m_key + L"\\DllOverrides";
        for (const wchar_t* dll : kProbeDlls) {
            const std::wstring name(dll, std::wcslen(dll) - 4);  // without ".dll"
            const wchar_t order[] = L"native,builtin";
            ::RegSetKeyValueW(HKEY_CURRENT_USER, overrides.c_str(), name.c_str(), REG_SZ, order, sizeof(order));
        }
    }
    ~PreferPlantedDlls() { ::RegDeleteTreeW(HKEY_CURRENT_USER, m_key.c_str()); }

private:
    std::wstring m_key;
};

class DllPlanting : public testing::Test {
protected:
    void SetUp() override
    {
        m_appFolder = m_root.Subfolder(L"app");
        m_workFolder = m_root.Subfolder(L"work");
        for (const wchar_t* dll : kProbeDlls) {
            if (PlantedBesideTheProgram(dll)) {
                ASSERT_TRUE(CopyInto(ProbePath(dll), m_appFolder, dll));
            }
            ASSERT_TRUE(CopyInto(ProbePath(dll), m_workFolder, dll));
        }
    }

    std::vector<std::wstring> Markers() const
    {
        std::vector<std::wstring> markers = FilesEndingWith(m_appFolder, L".loaded");
        for (const std::wstring& name : FilesEndingWith(m_workFolder, L".loaded"))
            markers.push_back(L"work\\" + name);
        return markers;
    }

    ScratchFolder m_root{L"planting"};
    PreferPlantedDlls m_loaderOverrides{L"plain_dll_loader.exe"};
    PreferPlantedDlls m_programOverrides{L"ClassicSwitch.exe"};
    std::wstring m_appFolder;
    std::wstring m_workFolder;
};

// Without this the test below could pass with probes that never report: a
// program that loads by name alone picks up every copy beside it.
TEST_F(DllPlanting, ProbesReportWhenAProgramLoadsThem)
{
    ASSERT_TRUE(CopyInto(TestProgramPath(L"plain_dll_loader.exe"), m_appFolder, L"plain_dll_loader.exe"));
    std::wstring commandLine = Quoted(m_appFolder + L"\\plain_dll_loader.exe");
    for (const wchar_t* dll : kProbeDlls)
        commandLine += std::wstring(L" ") + dll;
    ChildProcess loader(commandLine, m_workFolder.c_str());
    ASSERT_TRUE(loader.Started());
    ASSERT_TRUE(loader.Wait(20000));
    EXPECT_EQ(FilesEndingWith(m_appFolder, L".loaded").size(), std::size(kProbeDlls) - 1);
}

// A copy of the program beside planted DLLs, started from a folder that holds
// more of them, runs its whole start-up (window shown, GDI+ painting, the
// desktop window manager called) and loads none of them.
TEST_F(DllPlanting, ProgramLoadsNoDllPlantedBesideItOrInItsWorkingFolder)
{
    ASSERT_TRUE(CopyInto(ProgramUnderTestPath(), m_appFolder, L"ClassicSwitch.exe"));
    const std::wstring program = m_appFolder + L"\\ClassicSwitch.exe";
    ChildProcess run(SwitchCommandLine(program, m_root.Path(), L"cs-missing-setup.exe", m_root.Path() + L"\\install"),
                     m_workFolder.c_str());
    ASSERT_TRUE(run.Started());
    EXPECT_NE(WaitForPlacedWindow(run.Id(), run.Handle(), 15000), nullptr);
    // With a missing installer a switch ends by itself soon; until the switch
    // exists the program waits for its three-minute limit, so stop it here.
    DWORD exitCode = 0;
    if (run.Wait(3000, &exitCode)) {
        EXPECT_EQ(exitCode, 0u);
    }
    run.Terminate();
    EXPECT_TRUE(Markers().empty()) << "loaded: " << testing::PrintToString(Markers());
}

}  // namespace
