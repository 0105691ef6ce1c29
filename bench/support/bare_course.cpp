#include "bare_course.h"

namespace {
constexpr int kStart = 60;
constexpr int kEveryTickUpTo = 80;
constexpr int kSlowFrom = 85;
constexpr int kEnd = 95;
constexpr UINT kSlowPeriodMs = 200;
}  // namespace

BareCourse::Step BareCourse::Tick()
{
    ++m_tick;
    if (m_value < kEveryTickUpTo || (m_tick - (kEveryTickUpTo - kStart)) % 2 == 0)
        ++m_value;
    if (m_value >= kEnd)
        return Step{true, 0};
    return Step{false, m_value >= kSlowFrom ? kSlowPeriodMs : 0u};
}
