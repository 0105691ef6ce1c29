#pragma once
#include "framework/win32_base.h"

// Two clocks. The steady one times short stretches inside one process; the
// wall one puts events of different processes on one time line, since the
// system stamps process starts and ends in the same units.
double SteadyNowUs();
double WallNowMs();
double FileTimeToMs(const FILETIME& time);

// Microseconds that one call of work takes.
template <typename Work>
double TimeUs(Work&& work)
{
    const double start = SteadyNowUs();
    work();
    return SteadyNowUs() - start;
}
