#pragma once
#include "framework/noncopyable.h"
#include "framework/win32_base.h"

#include <string>
#include <utility>
#include <vector>

// A program started by a test. The destructor ends it if it still runs, so a
// failing test leaves no process behind.
class ChildProcess : private CNoCopy {
public:
    // commandLine is passed as it stands (quote the program path yourself).
    // environment, when given, is a whole environment block (see
    // EnvironmentWith); else the program inherits this one's.
    explicit ChildProcess(const std::wstring& commandLine, const wchar_t* workingDir = nullptr,
                          const std::wstring* environment = nullptr);
    ~ChildProcess();

    bool Started() const { return m_info.hProcess != nullptr; }
    DWORD Id() const { return m_info.dwProcessId; }
    HANDLE Handle() const { return m_info.hProcess; }

    // Waits for the end; returns true with the exit code when it ended in time.
    bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool Running() const;
    void Terminate();

private:
    PROCESS_INFORMATION m_info{};
};

std::wstring Quoted(const std::wstring& text);

// This process's environment block with the named variables set to the
// values given (names compared without regard to case), for a child.
std::wstring EnvironmentWith(const std::vector<std::pair<std::wstring, std::wstring>>& variables);

// Ends every process of this session with that executable name and waits,
// up to five seconds, until none is left.
void EndProcessesNamed(const wchar_t* exeName);

// Waits up to five seconds for the process to end, and tells whether it
// ended with that exit code. The stand-ins of the editions end with 7 on
// their own, so 0 shows that someone ended them.
bool EndsWithCode(ChildProcess& process, DWORD exitCode);

// Waits up to five seconds until a process with that executable name runs.
bool WaitUntilRunning(const wchar_t* exeName);
// Waits up to five seconds until at least count processes of this session
// with that executable name run.
bool WaitUntilRunningCount(const wchar_t* exeName, size_t count);
