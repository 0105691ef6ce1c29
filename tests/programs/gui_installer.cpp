// Stands in for the classic edition's silent installer. It honours
// "/S /D=<folder>" as the real one does: /D= comes last and takes the rest of
// the command line, spaces included. Each start appends its whole command
// line to installer_calls.txt beside it (UTF-8, one line per start); it then
// works for a while, as an installer does, and puts classic_payload.exe from
// beside it into the folder as Korvane.exe. Without /S it installs nothing.
#include <windows.h>

#include <shlobj.h>

#include <cwchar>
#include <string>

namespace {

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

void AppendLine(const std::wstring& file, const std::wstring& line)
{
    const std::wstring text = line + L"\n";
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    HANDLE handle = ::CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(handle);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring commandLine = ::GetCommandLineW();
    const std::wstring folder = OwnFolder();
    AppendLine(folder + L"\\installer_calls.txt", commandLine);

    const size_t target = commandLine.find(L" /D=");
    const size_t silent = commandLine.find(L" /S ");
    if (target == std::wstring::npos || silent == std::wstring::npos || silent > target)
        return 2;
    const std::wstring installFolder = commandLine.substr(target + 4);

    ::Sleep(1500);
    ::SHCreateDirectoryExW(nullptr, installFolder.c_str(), nullptr);
    const std::wstring payload = folder + L"\\classic_payload.exe";
    const std::wstring classic = installFolder + L"\\Korvane.exe";
    return ::CopyFileW(payload.c_str(), classic.c_str(), FALSE) ? 0 : 3;
}
