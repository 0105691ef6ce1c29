#include "progress_animation.h"

namespace {
constexpr int kStepEveryTickUpTo = 80;
constexpr int kTicksPerSlowStep = 2;
constexpr int kSlowPeriodFrom = 85;
}  // namespace

ProgressTickEffects AdvanceProgress(ProgressAnimationState& state)
{
    if (!state.animating || state.finished)
        return ProgressTickEffects{false, false, false};

    const int current = state.progress;
    int next = current + 1;
    if (next > kStepEveryTickUpTo) {
        ++state.slowTick;
        if (state.slowTick < kTicksPerSlowStep)
            next = current;  // a pause: the value waits for the second tick
        else
            state.slowTick = 0;
    }

    ProgressTickEffects effects{true, false, false};
    if (next >= kProgressFinalValue) {
        state.progress = kProgressFinalValue;
        state.finished = TRUE;
        state.animating = FALSE;
        effects.stopTimer = true;
    } else {
        state.progress = next;
    }
    effects.slowTimer = state.animating && next >= kSlowPeriodFrom;
    return effects;
}

void JumpProgressToEnd(ProgressAnimationState& state)
{
    state.progress = kProgressJumpValue;
    state.finished = TRUE;
    state.animating = FALSE;
}
