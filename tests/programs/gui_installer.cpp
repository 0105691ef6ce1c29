// Stands in for the classic edition's silent installer. It honours
// "/S /D=<folder>" as the real one does: /D= comes last and takes the rest of
// the command line, spaces included. Each start appends its whole command
// line to installer_calls.txt beside it (UTF-8, one line per start); it then
// works for a while, as an installer does, and puts classic_payload.exe from
// beside it into the folder as Korvane.exe. Without /S it installs nothing.
#include "stand_in_support.h"

#include <shlobj.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring commandLine = ::GetCommandLineW();
    const std::wstring folder = stand_in::OwnFolder();
    stand_in::AppendLine(folder + L"\\installer_calls.txt", commandLine);

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
