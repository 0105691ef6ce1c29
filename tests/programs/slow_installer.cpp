// Stands in for an installer that takes its time: it runs until the test
// signals the named event below, or for at most a minute, so that a test can
// keep a switch busy for as long as it needs one running.
#include <windows.h>

int wmain()
{
    HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, L"Local\\ClassicSwitchTests-ReleaseSlowInstaller");
    if (!release)
        return 1;
    ::WaitForSingleObject(release, 60000);
    ::CloseHandle(release);
    return 0;
}
