// Keeps another program running, as a watchdog would: starts it, and starts
// it again at once each time it ends, for the milliseconds given (default one
// minute); then it ends the program and itself.
//     gui_restarter.exe <lifetime ms> <program>
// Each end of the program is appended to restarts.txt beside the program, as
// "ended <exit code>", one line per end.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

void AppendLine(const std::wstring& file, const std::string& line)
{
    HANDLE handle = ::CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\n";
    DWORD written = 0;
    ::WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(handle);
}

HANDLE Start(const std::wstring& program)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info))
        return nullptr;
    ::CloseHandle(info.hThread);
    return info.hProcess;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!argv || count < 3)
        return 2;
    const ULONGLONG lifetimeMs = std::wcstoul(argv[1], nullptr, 10);
    const std::wstring program = argv[2];
    ::LocalFree(argv);
    const std::wstring record = program.substr(0, program.find_last_of(L'\\')) + L"\\restarts.txt";

    const ULONGLONG end = ::GetTickCount64() + lifetimeMs;
    HANDLE child = Start(program);
    while (child) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= end || ::WaitForSingleObject(child, static_cast<DWORD>(end - now)) != WAIT_OBJECT_0)
            break;
        DWORD exitCode = 0;
        ::GetExitCodeProcess(child, &exitCode);
        ::CloseHandle(child);
        AppendLine(record, "ended " + std::to_string(exitCode));
        child = Start(program);
    }
    if (child) {
        ::TerminateProcess(child, 1);
        ::CloseHandle(child);
    }
    return 0;
}
