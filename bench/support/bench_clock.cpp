#include "bench_clock.h"

double SteadyNowUs()
{
    static const double ticksPerUs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1e6;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerUs;
}

double FileTimeToMs(const FILETIME& time)
{
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 1e4;
}

double WallNowMs()
{
    FILETIME now;
    ::GetSystemTimePreciseAsFileTime(&now);
    return FileTimeToMs(now);
}
