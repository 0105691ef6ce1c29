// Stands in for the mini edition where a test must know each of its starts.
// Each start appends "<its own path>\t<its working folder>" to
// mini_started.txt beside it (UTF-8, one line per start); then it lives like
// gui_idle: for the milliseconds given as its argument (default one minute),
// ending with exit code 7, so that 0 shows that someone ended it.
#include "stand_in_support.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring self = stand_in::OwnPath();
    wchar_t folder[MAX_PATH];
    const DWORD folderLength = ::GetCurrentDirectoryW(MAX_PATH, folder);
    stand_in::AppendLine(self.substr(0, self.find_last_of(L'\\')) + L"\\mini_started.txt",
                         self + L"\t" + std::wstring(folder, folderLength));

    ::Sleep(stand_in::LifetimeFromArguments());
    return 7;
}
