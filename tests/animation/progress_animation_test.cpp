#include "window/progress_animation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The animation's state as the window holds it, fresh for each test.
struct Animation {
    int progress = 60;
    BOOL animating = TRUE;
    BOOL finished = FALSE;
    int slowTick = 0;
    ProgressAnimationState State() { return ProgressAnimationState{progress, animating, finished, slowTick}; }

    ProgressTickEffects Tick()
    {
        ProgressAnimationState state = State();
        return AdvanceProgress(state);
    }
};

struct TickRecord {
    int tick;
    long long timeMs;
    int value;
    ProgressTickEffects effects;
};

// Runs timer 1 on a simulated clock as the window does: first period 50 ms,
// re-armed at 200 ms whenever a tick asks for it, stopped when asked.
std::vector<TickRecord> RunUninterrupted(Animation& animation, long long untilMs)
{
    std::vector<TickRecord> course;
    long long period = 50;
    long long due = 50;
    bool pending = true;
    for (int tick = 1; pending && due <= untilMs; ++tick) {
        const long long now = due;
        const ProgressTickEffects effects = animation.Tick();
        course.push_back(TickRecord{tick, now, animation.progress, effects});
        due = now + period;
        if (effects.stopTimer)
            pending = false;
        if (effects.slowTimer) {
            period = kProgressSlowPeriodMs;
            due = now + period;
        }
    }
    return course;
}

TEST(ProgressAnimation, NominalCourseToTheMillisecond)
{
    Animation animation;
    const std::vector<TickRecord> course = RunUninterrupted(animation, 600000);
    ASSERT_EQ(course.size(), 50u);  // the timer is stopped at the 50th tick

    const int expectedFrom21[] = {80, 81, 81, 82, 82, 83, 83, 84, 84, 85,   // 21..30
                                  85, 86, 86, 87, 87, 88, 88, 89, 89, 90,   // 31..40
                                  90, 91, 91, 92, 92, 93, 93, 94, 94, 95};  // 41..50
    for (const TickRecord& r : course) {
        SCOPED_TRACE(testing::Message() << "tick " << r.tick);
        const long long expectedTime = r.tick <= 30 ? 50LL * r.tick : 1500 + 200LL * (r.tick - 30);
        EXPECT_EQ(r.timeMs, expectedTime);
        EXPECT_EQ(r.value, r.tick <= 20 ? 60 + r.tick : expectedFrom21[r.tick - 21]);
        EXPECT_TRUE(r.effects.redraw);
        EXPECT_EQ(r.effects.stopTimer, r.tick == 50);
        EXPECT_EQ(r.effects.slowTimer, r.tick >= 30 && r.tick < 50);
    }
    EXPECT_EQ(course[19].value, 80);
    EXPECT_EQ(course[19].timeMs, 1000);
    EXPECT_EQ(course[29].value, 85);
    EXPECT_EQ(course[29].timeMs, 1500);
    EXPECT_EQ(course[49].value, 95);
    EXPECT_EQ(course[49].timeMs, 5500);
    EXPECT_FALSE(animation.animating);
    EXPECT_TRUE(animation.finished);
}

TEST(ProgressAnimation, ValueNeverFallsAndTheFlagsStayExclusive)
{
    Animation animation;
    int last = animation.progress;
    for (int tick = 1; tick <= 60; ++tick) {
        animation.Tick();
        EXPECT_GE(animation.progress, last);
        EXPECT_NE(animation.animating, animation.finished);
        EXPECT_TRUE(animation.slowTick == 0 || animation.slowTick == 1);
        last = animation.progress;
    }
}

TEST(ProgressAnimation, PauseTicksStillRedraw)
{
    Animation animation;
    animation.progress = 80;
    ProgressTickEffects pause = animation.Tick();  // 81 would be next: slowTick 0 -> 1, no step
    EXPECT_EQ(animation.progress, 80);
    EXPECT_TRUE(pause.redraw);
    EXPECT_FALSE(pause.slowTimer);
    const ProgressTickEffects step = animation.Tick();
    EXPECT_EQ(animation.progress, 81);
    EXPECT_TRUE(step.redraw);

    animation.progress = 86;
    animation.slowTick = 0;
    pause = animation.Tick();
    EXPECT_EQ(animation.progress, 86);
    EXPECT_TRUE(pause.redraw);
    EXPECT_TRUE(pause.slowTimer);  // 87 would be next: still at the slow period
}

TEST(ProgressAnimation, NothingHappensOnceFinished)
{
    struct Case {
        const char* what;
        int progress;
        BOOL animating, finished;
    };
    const Case cases[] = {
        {"reached 95", 95, FALSE, TRUE},
        {"jumped to 100", 100, FALSE, TRUE},
        {"animation off only", 70, FALSE, FALSE},
        {"finished only", 70, TRUE, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Animation animation;
        animation.progress = c.progress;
        animation.animating = c.animating;
        animation.finished = c.finished;
        animation.slowTick = 1;
        const ProgressTickEffects effects = animation.Tick();
        EXPECT_FALSE(effects.redraw);
        EXPECT_FALSE(effects.stopTimer);
        EXPECT_FALSE(effects.slowTimer);
        EXPECT_EQ(animation.progress, c.progress);
        EXPECT_EQ(animation.slowTick, 1);
    }
}

TEST(ProgressAnimation, JumpEndsTheAnimationFromAnyValue)
{
    Animation animation;
    for (int tick = 0; tick < 12; ++tick)
        animation.Tick();
    ASSERT_EQ(animation.progress, 72);
    ProgressAnimationState state = animation.State();
    JumpProgressToEnd(state);
    EXPECT_EQ(animation.progress, 100);
    EXPECT_FALSE(animation.animating);
    EXPECT_TRUE(animation.finished);
    const ProgressTickEffects late = animation.Tick();
    EXPECT_FALSE(late.redraw);
    EXPECT_EQ(animation.progress, 100);
}

}  // namespace
