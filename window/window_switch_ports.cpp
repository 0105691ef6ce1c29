#include "window_switch_ports.h"

#include "../framework/system_error_text.h"
#include "../workflow/process_utils.h"
#include "../workflow/run_log_file.h"
#include "custom_window.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <string>
#include <vector>

void CWindowSwitchPorts::ArmTimer(UINT_PTR id, UINT periodMs)
{
    m_window.ArmTimerFromTickStart(id, periodMs);
}

void CWindowSwitchPorts::StopTimer(UINT_PTR id)
{
    ::KillTimer(m_window.m_hWnd, id);
}

bool CWindowSwitchPorts::IsRunning(const wchar_t* exeName)
{
    return ::IsProcessRunning(exeName) != FALSE;
}

void CWindowSwitchPorts::EndProcesses(const wchar_t* exeName)
{
    std::vector<TerminationRequest> requests;
    ::KillProcessByName(exeName, &requests);
    for (const TerminationRequest& request : requests) {
        const wchar_t* outcome = !request.opened ? L"process not opened: "
                                 : request.ended ? L"process ended: "
                                                 : L"process refused: ";
        Trace(CString(outcome) + DecimalString(request.processId));
    }
}

bool CWindowSwitchPorts::GetDocumentsFolder(CString& folder)
{
    wchar_t buffer[MAX_PATH] = L"";
    if (::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK)
        return false;
    folder = buffer;
    return true;
}

bool CWindowSwitchPorts::PathExists(const wchar_t* path)
{
    return ::PathFileExistsW(path) != FALSE;
}

RemoveResult CWindowSwitchPorts::RemoveFile(const wchar_t* path)
{
    return RemoveResult{::DeleteFileW(path) ? ERROR_SUCCESS : ::GetLastError()};
}

DWORD CWindowSwitchPorts::GetAttributes(const wchar_t* path)
{
    return ::GetFileAttributesW(path);
}

StartResult CWindowSwitchPorts::ShellOpen(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                          const wchar_t* folder, int showCommand)
{
    // Cleared first: a failure that sets no code must not report an older one.
    // The answer is a number dressed as a handle, for compatibility's sake.
    ::SetLastError(ERROR_SUCCESS);
    const StartResult result{
        reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, verb, file, parameters, folder, showCommand))};
    return result.Started() ? result : StartResult{result.code, ::GetLastError()};
}

bool CWindowSwitchPorts::ReadImagePath(const wchar_t* exeName, CString& path)
{
    std::wstring found;
    if (!::GetProcessImagePath(exeName, found))
        return false;
    path = CString(std::move(found));
    return true;
}

void CWindowSwitchPorts::PostQuit(int exitCode)
{
    AfxPostQuitMessage(exitCode);
}

void CWindowSwitchPorts::JumpBarToEnd()
{
    m_window.JumpProgressToEnd();
}

namespace {
void SendToDebugger(ULONGLONG elapsed, const CString& line)
{
    CString text(L"ClassicSwitch +");
    text += DecimalString(elapsed);
    text += L" ms: ";
    text += line;
    text += L'\n';
    ::OutputDebugStringW(text);
}
}  // namespace

void CWindowSwitchPorts::Trace(const CString& line)
{
    const ULONGLONG elapsed = ::GetTickCount64() - m_window.m_nCreationTick;
    SendToDebugger(elapsed, line);
    if (!m_window.m_pRunLog)
        return;
    // The same time in both, so that the log and the trace can be laid side by side.
    const CString problem = WriteRunLogLine(*m_window.m_pRunLog, &elapsed, line);
    if (!problem.IsEmpty())
        SendToDebugger(elapsed, RunLogNotWrittenLine(problem));
}

CString CWindowSwitchPorts::ErrorText(DWORD error)
{
    return SystemErrorText(error);
}
