// Stands in for the classic edition, Korvane.exe. Each start appends its own
// path to classic_started.txt beside it (UTF-8, one line per start); then it
// runs for half a minute, long enough to be seen running, and ends by itself.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring self(path, length);
    const std::wstring record = self.substr(0, self.find_last_of(L'\\')) + L"\\classic_started.txt";

    const std::wstring text = self + L"\n";
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    HANDLE handle = ::CreateFileW(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        ::CloseHandle(handle);
    }
    ::Sleep(30000);
    return 0;
}
