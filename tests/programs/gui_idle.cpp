// Stands in for a running program that only has to exist: the mini edition,
// the gallery program, or any process a test wants to find or end. It lives
// for the milliseconds given as its argument (default one minute) and then
// ends with exit code 7, so an exit code of 0 shows that someone ended it.
#include <windows.h>

#include <cwchar>
#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
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
