#include "child_process.h"

#include "workflow/process_utils.h"

#include <vector>

ChildProcess::ChildProcess(const std::wstring& commandLine, const wchar_t* workingDir)
{
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, workingDir, &startup, &m_info)) {
        m_info = PROCESS_INFORMATION{};
        return;
    }
    ::CloseHandle(m_info.hThread);
    m_info.hThread = nullptr;
}

ChildProcess::~ChildProcess()
{
    if (m_info.hProcess) {
        if (Running()) {
            ::TerminateProcess(m_info.hProcess, 1);
            ::WaitForSingleObject(m_info.hProcess, 5000);
        }
        ::CloseHandle(m_info.hProcess);
    }
}

bool ChildProcess::Wait(DWORD timeoutMs, DWORD* exitCode)
{
    if (!m_info.hProcess || ::WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        ::GetExitCodeProcess(m_info.hProcess, exitCode);
    return true;
}

bool ChildProcess::Running() const
{
    return m_info.hProcess && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

void ChildProcess::Terminate()
{
    if (Running()) {
        ::TerminateProcess(m_info.hProcess, 1);
        ::WaitForSingleObject(m_info.hProcess, 5000);
    }
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

void EndProcessesNamed(const wchar_t* exeName)
{
    for (int i = 0; i < 50 && IsProcessRunning(exeName); ++i) {
        KillProcessByName(exeName);
        ::Sleep(100);
    }
}

bool EndsWithCode(ChildProcess& process, DWORD exitCode)
{
    DWORD code = 0;
    return process.Wait(5000, &code) && code == exitCode;
}

bool WaitUntilRunning(const wchar_t* exeName)
{
    for (int i = 0; i < 50; ++i) {
        if (IsProcessRunning(exeName))
            return true;
        ::Sleep(100);
    }
    return false;
}
