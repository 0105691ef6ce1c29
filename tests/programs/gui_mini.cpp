// Stands in for the mini edition where a test must know each of its starts.
// Each start appends "<its own path>\t<its working folder>" to
// mini_started.txt beside it (UTF-8, one line per start); then it lives like
// gui_idle: for the milliseconds given as its argument (default one minute),
// ending with exit code 7, so that 0 shows that someone ended it.
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

void AppendLine(const std::wstring& file, const std::wstring& line)
{
    const std::wstring text = line + L"\n";
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    HANDLE handle = ::CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(handle);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring self(path, length);
    wchar_t folder[MAX_PATH];
    const DWORD folderLength = ::GetCurrentDirectoryW(MAX_PATH, folder);
    AppendLine(self.substr(0, self.find_last_of(L'\\')) + L"\\mini_started.txt",
               self + L"\t" + std::wstring(folder, folderLength));

    DWORD lifetimeMs = 60000;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (argv && count > 1)
        lifetimeMs = static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10));
    if (argv)
        ::LocalFree(argv);
    ::Sleep(lifetimeMs);
    return 7;
}
