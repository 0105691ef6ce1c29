#pragma once
#include "fake_platform.h"
#include "fake_timer_queue.h"
#include "window/progress_animation.h"
#include "workflow/switch_sequencer.h"

// The progress window as far as its timers go: the state it holds, the
// dispatch of timer ticks to the animation and the switch, on a simulated
// clock. A run ends when the quit message is posted, as the message loop does.
class SimulatedSwitch {
public:
    explicit SimulatedSwitch(FakeTimerQueue::TieOrder order = FakeTimerQueue::TieOrder::LowerIdFirst);

    // Creation arms timers 1, 2 and 3; then ticks are served until the quit
    // or until limitMs.
    void Run(long long limitMs = 200000);
    void Dispatch(UINT_PTR id);
    // A close request: the window is destroyed, its timers with it, and the
    // program ends.
    void Close();

    CString tempDir = L"C:\\Temp";
    CString appName = L"Setup.exe";
    CString miniName = L"KorvaneMini.exe";
    CString galleryName = L"Gallery.exe";
    CString localPath = L"C:\\Korvane";

    int progress = 60;
    BOOL animating = TRUE;
    BOOL finished = FALSE;
    int slowTick = 0;
    bool installerLaunched = false;
    int miniKillCount = 0;
    int galleryKillCount = 0;
    bool classicLaunched = false;
    QuitReason quitReason = QuitReason::Deadline;
    CString miniPath;
    bool restoreDecided = false;

    FakeTimerQueue timers;
    FakePlatform platform;
    int animationRedraws = 0;

private:
    SwitchState State();
};
