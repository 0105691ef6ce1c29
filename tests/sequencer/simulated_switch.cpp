#include "simulated_switch.h"

#include "window/timer_ids.h"
#include "window/progress_animation.h"

SimulatedSwitch::SimulatedSwitch(FakeTimerQueue::TieOrder order) : timers(order), platform(timers)
{
    // As the window does it: the animation's own jump, its timer stopped.
    platform.OnBarJump([this] {
        ProgressAnimationState animation{progress, animating, finished, slowTick};
        JumpProgressToEnd(animation);
        timers.Stop(TIMER_PROGRESS);
    });
}

void SimulatedSwitch::Run(long long limitMs)
{
    timers.Arm(TIMER_PROGRESS, 50);
    timers.Arm(TIMER_PREPARE, 100);
    timers.Arm(TIMER_QUIT, 180000);
    while (!platform.QuitPosted()) {
        const UINT_PTR id = timers.Next(limitMs);
        if (id == 0)
            break;
        Dispatch(id);
    }
}

SwitchState SimulatedSwitch::State()
{
    return SwitchState{installerLaunched, miniKillCount, galleryKillCount, classicLaunched,
                       quitReason,        miniPath,      restoreDecided};
}

void SimulatedSwitch::Close()
{
    for (UINT_PTR id = TIMER_PROGRESS; id <= TIMER_LAUNCH; ++id)
        timers.Stop(id);
    SwitchState state = State();
    OnWindowClosed(state, platform);
    platform.PostQuit(0);
}

void SimulatedSwitch::Dispatch(UINT_PTR id)
{
    const SwitchNames names{tempDir, appName, miniName, galleryName, localPath};
    SwitchState state = State();
    ProgressAnimationState animation{progress, animating, finished, slowTick};
    switch (id) {
    case TIMER_PROGRESS: {
        const ProgressTickEffects effects = AdvanceProgress(animation);
        if (effects.stopTimer)
            timers.Stop(TIMER_PROGRESS);
        if (effects.redraw)
            ++animationRedraws;
        if (effects.slowTimer)
            timers.Arm(TIMER_PROGRESS, kProgressSlowPeriodMs);
        break;
    }
    case TIMER_PREPARE:
        OnPrepareTick(names, state, platform);
        break;
    case TIMER_QUIT:
        OnQuitTick(names, state, platform);
        break;
    case TIMER_LAUNCH:
        OnLaunchTick(names, state, platform);
        break;
    default:
        break;
    }
}
