#include "window/tick_period.h"

#include <gtest/gtest.h>

TEST(TickPeriod, ShortenedByTheTimeTheTickHasSpent)
{
    const struct {
        unsigned period;
        long long elapsed;
        unsigned expected;
    } cases[] = {
        {500, 0, 500},  {500, 7, 493},  {200, 3, 197},  {500, 490, 10},
        {500, 499, 10}, {500, 900, 10}, {500, -5, 500}, {180000, 12, 179988},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PeriodFromTickStart(c.period, c.elapsed), c.expected) << c.period << " after " << c.elapsed;
}
