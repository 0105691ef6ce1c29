#include "process_times.h"

#include "bench_clock.h"
#include "workflow/exe_name_match.h"
#include "workflow/scoped_handle.h"

#include <tlhelp32.h>

namespace {
DWORD FindProcessId(const wchar_t* exeName)
{
    ScopedHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid())
        return 0;
    const std::wstring lowered = AsciiLowerCase(exeName);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (ExeNameMatches(lowered, entry.szExeFile))
            return entry.th32ProcessID;
    }
    return 0;
}

bool Times(HANDLE process, FILETIME& created, FILETIME& ended)
{
    FILETIME kernel, user;
    return process && ::GetProcessTimes(process, &created, &ended, &kernel, &user);
}
}  // namespace

WatchedProcess::WatchedProcess(const wchar_t* exeName)
{
    const DWORD id = FindProcessId(exeName);
    if (id)
        m_process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, id);
}

WatchedProcess::~WatchedProcess()
{
    if (m_process)
        ::CloseHandle(m_process);
}

double WatchedProcess::StartedMs() const
{
    FILETIME created, ended;
    return Times(m_process, created, ended) ? FileTimeToMs(created) : 0.0;
}

double WatchedProcess::EndedMs() const
{
    return ProcessEndedMs(m_process);
}

void WatchedProcess::Terminate()
{
    if (m_process && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process, 1);
        ::WaitForSingleObject(m_process, 5000);
    }
}

double ProcessEndedMs(HANDLE process)
{
    FILETIME created, ended;
    if (!process || ::WaitForSingleObject(process, 0) != WAIT_OBJECT_0 || !Times(process, created, ended))
        return 0.0;
    return FileTimeToMs(ended);
}
