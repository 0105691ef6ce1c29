#include "afxwin.h"
#include "system_library.h"

// The program's entry point. Nothing may load a DLL before the search is
// narrowed, so that is the first statement; the application object's static
// constructor loads none.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    RestrictDllSearchToSystemFolder();
    ::HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
    // No system error box (missing disk, bad image) may stall a switch.
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
    return AfxWinMain();
}
