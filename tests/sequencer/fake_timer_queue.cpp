#include "fake_timer_queue.h"

void FakeTimerQueue::Arm(UINT_PTR id, long long periodMs)
{
    m_timers[id] = Timer{m_now + periodMs, periodMs, ++m_seq};
}

long long FakeTimerQueue::PeriodOf(UINT_PTR id) const
{
    const auto it = m_timers.find(id);
    return it == m_timers.end() ? -1 : it->second.period;
}

long long FakeTimerQueue::DueOf(UINT_PTR id) const
{
    const auto it = m_timers.find(id);
    return it == m_timers.end() ? -1 : it->second.due;
}

bool FakeTimerQueue::ServedBefore(UINT_PTR a, const Timer& ta, UINT_PTR b, const Timer& tb) const
{
    if (ta.due != tb.due)
        return ta.due < tb.due;
    if (m_order == TieOrder::LowerIdFirst)
        return a < b;
    return ta.armedSeq < tb.armedSeq;
}

UINT_PTR FakeTimerQueue::Next(long long limitMs)
{
    auto best = m_timers.end();
    for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
        if (best == m_timers.end() || ServedBefore(it->first, it->second, best->first, best->second))
            best = it;
    }
    if (best == m_timers.end() || best->second.due > limitMs)
        return 0;
    m_now = best->second.due;
    best->second.due += best->second.period;  // periodic until stopped or re-armed
    return best->first;
}
