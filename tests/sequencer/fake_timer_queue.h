#pragma once
#include "framework/win32_base.h"

#include <map>

// Window timers on a simulated clock. Timers are periodic, as SetTimer's
// are; arming a pending id replaces it and restarts its countdown. When two
// timers fall due at the same millisecond, the tie order decides which is
// served first; the platform allows either, so tests choose.
class FakeTimerQueue {
public:
    enum class TieOrder { LowerIdFirst, EarlierArmedFirst };

    explicit FakeTimerQueue(TieOrder order) : m_order(order) {}

    long long Now() const { return m_now; }
    void Arm(UINT_PTR id, long long periodMs);
    void Stop(UINT_PTR id) { m_timers.erase(id); }
    bool Pending(UINT_PTR id) const { return m_timers.count(id) != 0; }
    long long PeriodOf(UINT_PTR id) const;
    long long DueOf(UINT_PTR id) const;

    // Advances the clock to the next tick due no later than limitMs and
    // returns its id, or 0 when there is none.
    UINT_PTR Next(long long limitMs);

private:
    struct Timer {
        long long due;
        long long period;
        unsigned long long armedSeq;
    };
    bool ServedBefore(UINT_PTR a, const Timer& ta, UINT_PTR b, const Timer& tb) const;

    TieOrder m_order;
    long long m_now = 0;
    unsigned long long m_seq = 0;
    std::map<UINT_PTR, Timer> m_timers;
};
