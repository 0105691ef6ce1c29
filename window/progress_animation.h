#pragma once
#include "../framework/win32_base.h"

// The progress bar's creep: from 60, one point per tick up to 80, then one
// point every second tick, with the ticks slowed to 200 ms from 85 on, and a
// stop at 95. It measures nothing; it only shows that the switch is alive.
constexpr int kProgressSlowPeriodMs = 200;
constexpr int kProgressFinalValue = 95;
constexpr int kProgressJumpValue = 100;

// The animation's state: the window's members and the program-wide count of
// ticks since the last step above 80.
struct ProgressAnimationState {
    int& progress;
    BOOL& animating;
    BOOL& finished;
    int& slowTick;
};

// What a tick asks of the window.
struct ProgressTickEffects {
    bool redraw;     // repaint the bar at once
    bool stopTimer;  // the animation has reached its end
    bool slowTimer;  // re-arm the tick at kProgressSlowPeriodMs
};

// One tick of the progress timer.
ProgressTickEffects AdvanceProgress(ProgressAnimationState& state);

// The switch jumps to the end when it gives up: the bar shows 100 and the
// animation stops for good. The caller stops the timer and repaints.
void JumpProgressToEnd(ProgressAnimationState& state);
