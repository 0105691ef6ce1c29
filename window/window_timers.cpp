#include "custom_window.h"

#include "../workflow/switch_sequencer.h"
#include "progress_animation.h"
#include "window_switch_ports.h"

namespace {
// Program-wide state of the animation and the switch: zero at start and
// never reset (there is one window per run).
int s_nSlowTick = 0;
int s_nMiniKillCount = 0;
int s_nGalleryKillCount = 0;
bool s_bClassicLaunched = false;
QuitReason s_quitReason = QuitReason::Deadline;
}  // namespace

void CCustomWindow::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == TIMER_PROGRESS) {
        OnProgressTick();
    } else if (nIDEvent == TIMER_PREPARE || nIDEvent == TIMER_QUIT || nIDEvent == TIMER_LAUNCH) {
        const SwitchNames names{m_strTempDir, m_strAppName, m_strMiniName, m_strGalleryName, m_strLocalPath};
        SwitchState state{m_bInstallerLaunched, s_nMiniKillCount, s_nGalleryKillCount, s_bClassicLaunched,
                          s_quitReason, {m_nProgress, m_bAnimating, m_bFinished, s_nSlowTick}};
        CWindowSwitchPorts ports(*this);
        if (nIDEvent == TIMER_PREPARE)
            OnPrepareTick(names, state, ports);
        else if (nIDEvent == TIMER_QUIT)
            OnQuitTick(state, ports);
        else
            OnLaunchTick(names, state, ports);
    }
    Default();
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
        ::SetTimer(m_hWnd, TIMER_PROGRESS, kProgressSlowPeriodMs, nullptr);
}
