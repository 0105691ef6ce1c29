#pragma once
// What the stand-in programs share: each .cpp in this folder is a program of
// its own, and they include this header for the little they have in common.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace stand_in {

// Appends one line, UTF-8, to a record file beside a stand-in, so that a test
// can read what the stand-in saw. Other starts may append at the same time.
inline void AppendLine(const std::wstring& file, const std::wstring& line)
{
    const std::wstring text = line + L"\n";
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, nullptr,
                              nullptr);
    HANDLE handle = ::CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(handle);
}

// The program's own file and the folder that holds it.
inline std::wstring OwnPath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

inline std::wstring OwnFolder()
{
    const std::wstring path = OwnPath();
    return path.substr(0, path.find_last_of(L'\\'));
}

// The lifetime in milliseconds that the first argument gives, else one minute.
inline DWORD LifetimeFromArguments()
{
    DWORD lifetimeMs = 60000;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (argv && count > 1)
        lifetimeMs = static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10));
    if (argv)
        ::LocalFree(argv);
    return lifetimeMs;
}

}  // namespace stand_in
