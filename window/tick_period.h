#pragma once

// A timer re-armed at the end of a tick would start its period only after the
// tick's own work (a process walk can take milliseconds), and the next tick
// would come that much later than "one period after this tick"; over many
// ticks the delay adds up. The period is therefore shortened by the time the
// tick has already spent, never below the window system's shortest timer.
constexpr unsigned kShortestTimerMs = 10;
unsigned PeriodFromTickStart(unsigned periodMs, long long elapsedInTickMs);
