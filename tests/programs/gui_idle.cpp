// Stands in for a running program that only has to exist: the mini edition,
// the gallery program, or any process a test wants to find or end. It lives
// for the milliseconds given as its argument (default one minute) and then
// ends with exit code 7, so an exit code of 0 shows that someone ended it.
#include "stand_in_support.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    ::Sleep(stand_in::LifetimeFromArguments());
    return 7;
}
