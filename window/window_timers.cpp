#include "custom_window.h"

#include "../workflow/switch_sequencer.h"
#include "progress_animation.h"
#include "tick_period.h"
#include "window_switch_ports.h"

namespace {
// Program-wide state of the animation and the switch: zero at start and
// never reset (there is one window per run).
int s_nSlowTick = 0;
int s_nMiniKillCount = 0;
int s_nGalleryKillCount = 0;
bool s_bClassicLaunched = false;
QuitReason s_quitReason = QuitReason::Deadline;
CString s_strMiniPath;
bool s_bRestoreDecided = false;

long long PerformanceCounterNow()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}
}  // namespace

void CCustomWindow::ArmTimerFromTickStart(UINT_PTR id, UINT periodMs)
{
    long long elapsedMs = 0;
    if (m_nTickStart) {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        elapsedMs = (PerformanceCounterNow() - m_nTickStart) * 1000 / frequency.QuadPart;
    }
    ::SetTimer(m_hWnd, id, PeriodFromTickStart(periodMs, elapsedMs), nullptr);
}

void CCustomWindow::OnTimer(UINT_PTR nIDEvent)
{
    m_nTickStart = PerformanceCounterNow();
    if (nIDEvent == TIMER_PROGRESS) {
        OnProgressTick();
    } else if (nIDEvent == TIMER_PREPARE || nIDEvent == TIMER_QUIT || nIDEvent == TIMER_LAUNCH) {
        const SwitchNames names{m_strTempDir, m_strAppName, m_strMiniName, m_strGalleryName, m_strLocalPath};
        SwitchState state = SwitchStateOfTheRun();
        CWindowSwitchPorts ports(*this);
        if (nIDEvent == TIMER_PREPARE)
            OnPrepareTick(names, state, ports);
        else if (nIDEvent == TIMER_QUIT)
            OnQuitTick(names, state, ports);
        else
            OnLaunchTick(names, state, ports);
    }
    m_nTickStart = 0;
    Default();
}

SwitchState CCustomWindow::SwitchStateOfTheRun()
{
    return SwitchState{m_bInstallerLaunched, s_nMiniKillCount, s_nGalleryKillCount, s_bClassicLaunched,
                       s_quitReason,         s_strMiniPath,    s_bRestoreDecided};
}

void CCustomWindow::EndSwitchOnClose()
{
    SwitchState state = SwitchStateOfTheRun();
    CWindowSwitchPorts ports(*this);
    OnWindowClosed(state, ports);
}

void CCustomWindow::JumpProgressToEnd()
{
    ProgressAnimationState state{m_nProgress, m_bAnimating, m_bFinished, s_nSlowTick};
    ::JumpProgressToEnd(state);
    ::KillTimer(m_hWnd, TIMER_PROGRESS);
    RedrawProgressBar();
}

void CCustomWindow::OnProgressTick()
{
    ProgressAnimationState state{m_nProgress, m_bAnimating, m_bFinished, s_nSlowTick};
    const ProgressTickEffects effects = AdvanceProgress(state);
    if (effects.stopTimer)
        ::KillTimer(m_hWnd, TIMER_PROGRESS);
    if (effects.redraw)
        RedrawProgressBar();
    if (effects.slowTimer)
        ArmTimerFromTickStart(TIMER_PROGRESS, kProgressSlowPeriodMs);
}
