#include "run_log_start.h"

#include "version.h"  // written by CMake from the project's version
#include "../window/custom_window.h"
#include "../window/window_switch_ports.h"
#include "../workflow/run_log_file.h"
#include "run_log_header.h"

namespace {

// The true version: GetVersionExW answers as the manifest allows, not as
// the system is. ntdll is always loaded, so nothing is loaded by asking.
OSVERSIONINFOW WindowsVersion()
{
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto getVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    if (getVersion)
        getVersion(&version);
    return version;
}

bool Windows64()
{
    if (sizeof(void*) == 8)
        return true;
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    if (!screen)
        return 0;
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

void TraceLogProblem(const CString& problem, CCustomWindow* window)
{
    if (!window)
        return;
    CWindowSwitchPorts(*window).Trace(RunLogNotWrittenLine(problem));
}

void Write(RunLog& log, const CString& text, CCustomWindow* window)
{
    const CString problem = WriteRunLogLine(log, nullptr, text);
    if (!problem.IsEmpty())
        TraceLogProblem(problem, window);
}

}  // namespace

RunFacts ReadRunFacts(const CCustomWindow* window, const wchar_t* commandLine)
{
    const OSVERSIONINFOW version = WindowsVersion();
    return RunFacts{L"" CS_VERSION_TEXT,
                    static_cast<unsigned>(sizeof(void*) * 8),
                    ::GetCurrentProcessId(),
                    version.dwMajorVersion,
                    version.dwMinorVersion,
                    version.dwBuildNumber,
                    Windows64(),
                    commandLine,
                    window,
                    ::GetSystemMetrics(SM_CXSCREEN),
                    ::GetSystemMetrics(SM_CYSCREEN),
                    ScreenDpi()};
}

void StartRunLog(RunLog& log, const wchar_t* commandLine, CCustomWindow* window, const wchar_t* windowLine)
{
    const RunFacts facts = ReadRunFacts(window, commandLine);
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const CString problem = OpenRunLog(log, now, ::GetCurrentProcessId());
    if (!problem.IsEmpty()) {
        TraceLogProblem(problem, window);
        return;
    }
    for (int line = 0; line < kRunLogHeaderLines; ++line)
        Write(log, RunLogHeaderLine(facts, line), window);
    Write(log, windowLine, window);
    if (window)
        window->m_pRunLog = &log;
    // After the run's own log exists: it counts among those kept.
    RemoveOldRunLogs(log);
}

void EndRunLog(RunLog& log, int exitCode)
{
    CString line(L"ended with exit code ");
    line += SignedDecimalString(exitCode);
    WriteRunLogLine(log, nullptr, line);
}
