#include "installer_scene.h"

#include "support/settings_file.h"
#include "support/test_paths.h"
#include "support/text_files.h"
#include "workflow/process_utils.h"

namespace {

std::wstring FolderOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to)
{
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

std::vector<std::wstring> InstallerCalls(const std::wstring& installerPath)
{
    return ReadTextLines(FolderOf(installerPath) + L"\\installer_calls.txt");
}

std::vector<std::wstring> InstalledInto(const std::wstring& installerPath)
{
    return ReadTextLines(FolderOf(installerPath) + L"\\installed_into.txt");
}

std::vector<std::wstring> ClassicStarts(const std::wstring& installFolder)
{
    return ReadTextLines(installFolder + L"\\classic_started.txt");
}

std::wstring FileName(const std::wstring& path)
{
    return path.substr(path.find_last_of(L'\\') + 1);
}

void InstallerScene::SetUp()
{
    wchar_t temp[MAX_PATH];
    ASSERT_NE(::GetTempPathW(MAX_PATH, temp), 0u);
    m_root = std::wstring(temp) + L"cs-installer-e2e-" + std::to_wstring(::GetCurrentProcessId());
    DeleteTree(m_root);
    ASSERT_TRUE(CreateFolders(m_root));
    ASSERT_TRUE(CreateSettingsFile());
    m_settingsFile = SettingsFilePath();
    m_namesToEnd.push_back(L"Korvane.exe");
    EndProcessesNamed(L"Korvane.exe");
}

void InstallerScene::TearDown()
{
    m_started.clear();  // ends what the test started, watchdogs first
    for (const std::wstring& name : m_namesToEnd)
        EndProcessesNamed(name.c_str());
    DeleteTree(m_root);
    ::DeleteFileW(m_settingsFile.c_str());
}

void InstallerScene::PlaceInstaller(const std::wstring& path, unsigned delayMs)
{
    ASSERT_TRUE(CreateFolders(FolderOf(path)));
    ASSERT_TRUE(::CopyFileW(TestProgramPath(L"korvane_setup.exe").c_str(), path.c_str(), FALSE));
    ASSERT_TRUE(WriteTextFile(FolderOf(path) + L"\\install_delay_ms.txt", std::to_string(delayMs)));
    m_namesToEnd.push_back(FileName(path));
}

std::wstring InstallerScene::PlaceStandIn(const std::wstring& folder, const std::wstring& exeName)
{
    const std::wstring path = m_root + L"\\" + folder + L"\\" + exeName;
    const wchar_t* standIn = exeName == L"Korvane.exe" ? L"gui_classic.exe" : L"gui_idle.exe";
    EXPECT_TRUE(CreateFolders(FolderOf(path)));
    EXPECT_TRUE(::CopyFileW(TestProgramPath(standIn).c_str(), path.c_str(), FALSE));
    return path;
}

ChildProcess& InstallerScene::Start(const std::wstring& commandLine, const std::wstring& exeName)
{
    m_namesToEnd.push_back(exeName);
    m_started.push_back(std::make_unique<ChildProcess>(commandLine));
    EXPECT_TRUE(m_started.back()->Started()) << AnsiFromWide(commandLine);
    return *m_started.back();
}

ChildProcess& InstallerScene::StartEdition(const std::wstring& exeName)
{
    return Start(Quoted(PlaceStandIn(L"Running", exeName)) + L" 60000", exeName);
}

InstallerScene::Run InstallerScene::RunSwitch(const std::wstring& arguments, const WhileRunning& whileRunning,
                                              const std::wstring* environment)
{
    Run run;
    DebugOutputMonitor monitor;
    EXPECT_TRUE(monitor.Listening());
    const ULONGLONG started = ::GetTickCount64();
    ChildProcess program(Quoted(ProgramUnderTestPath()) + L" " + arguments, nullptr, environment);
    EXPECT_TRUE(program.Started());
    if (!program.Started())
        return run;
    run.processId = program.Id();
    if (whileRunning)
        whileRunning(program, monitor);
    run.ended = program.Wait(60000, &run.exitCode);
    run.wallMs = ::GetTickCount64() - started;
    ::Sleep(100);  // the last line may still be on its way to the monitor
    run.trace = SwitchTrace(monitor.Messages(), program.Id());
    return run;
}

std::wstring InstallerScene::UsualArguments(const std::wstring& leftOut) const
{
    const std::pair<const wchar_t*, std::wstring> options[] = {
        {L"--TempDir", FolderOf(UsualInstaller())}, {L"--AppName", FileName(UsualInstaller())},
        {L"--MiniName", L"KorvaneMini.exe"},        {L"--GalleryName", L"KorvaneGallery.exe"},
        {L"--LocalPath", UsualInstallFolder()},
    };
    std::wstring arguments;
    for (const auto& option : options) {
        if (option.first != leftOut)
            arguments += std::wstring(arguments.empty() ? L"" : L" ") + option.first + L" " + Quoted(option.second);
    }
    return arguments;
}

std::wstring InstallerScene::InRoot(const std::wstring& pattern) const
{
    return ReplaceAll(ReplaceAll(pattern, L"{R/}", ReplaceAll(m_root, L"\\", L"/")), L"{R}", m_root);
}
