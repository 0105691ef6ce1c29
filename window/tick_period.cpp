#include "tick_period.h"

unsigned PeriodFromTickStart(unsigned periodMs, long long elapsedInTickMs)
{
    if (elapsedInTickMs <= 0)
        return periodMs;
    const long long remaining = static_cast<long long>(periodMs) - elapsedInTickMs;
    return remaining < kShortestTimerMs ? kShortestTimerMs : static_cast<unsigned>(remaining);
}
