#include "child_process.h"

#include "workflow/exe_name_match.h"
#include "workflow/process_utils.h"
#include "workflow/scoped_handle.h"

#include <tlhelp32.h>

#include <cwchar>
#include <vector>

ChildProcess::ChildProcess(const std::wstring& commandLine, const wchar_t* workingDir, const std::wstring* environment)
{
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    void* block = environment ? const_cast<wchar_t*>(environment->c_str()) : nullptr;
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, block,
                          workingDir, &startup, &m_info)) {
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

std::wstring EnvironmentWith(const std::vector<std::pair<std::wstring, std::wstring>>& variables)
{
    const auto overridden = [&variables](const std::wstring& entry) {
        for (const auto& variable : variables) {
            const std::wstring prefix = variable.first + L"=";
            if (entry.size() >= prefix.size() &&
                ::CompareStringOrdinal(entry.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                                       static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL)
                return true;
        }
        return false;
    };
    std::wstring block;
    wchar_t* strings = ::GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; entry && *entry; entry += std::wcslen(entry) + 1) {
        if (!overridden(entry))
            block.append(entry).push_back(L'\0');
    }
    ::FreeEnvironmentStringsW(strings);
    for (const auto& variable : variables)
        block.append(variable.first + L"=" + variable.second).push_back(L'\0');
    block.push_back(L'\0');  // with the string's own terminator: the block's double NUL
    return block;
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

namespace {
size_t CountProcessesNamed(const wchar_t* exeName)
{
    ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid())
        return 0;
    const std::wstring lowered = AsciiLowerCase(exeName);
    size_t count = 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry))
        count += ExeNameMatches(lowered, entry.szExeFile) ? 1 : 0;
    return count;
}
}  // namespace

bool WaitUntilRunningCount(const wchar_t* exeName, size_t count)
{
    for (int i = 0; i < 50; ++i) {
        if (CountProcessesNamed(exeName) >= count)
            return true;
        ::Sleep(100);
    }
    return false;
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
