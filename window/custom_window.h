#pragma once
#include "../framework/afxwin.h"
#include "../framework/gdiplus_api.h"
#include "bar_geometry.h"
#include "rgb_color.h"
#include "timer_ids.h"

struct SwitchState;
class RunLog;

// The program's one window: a small dark progress window that holds all of
// the run's state, from the command-line values to the drawing metrics.
class CCustomWindow : public CFrameWnd {
public:
    CCustomWindow();
    ~CCustomWindow() override;

    // Reads the command line (the whole text, as GetCommandLineW gives it).
    void ParseCommandLine(const wchar_t* commandLine);
    // Makes the native window; rect is its outer rectangle at scale 1.
    BOOL CreateProgressWindow(const RECT& rect);
    void UpdateLayout();

    void DrawContent(CDC* pDC);
    void DrawMessage(CDC* pDC);
    void DrawProgressBar(CDC* pDC);
    void RedrawProgressBar();
    // Shows the bar's end at once and stops the animation for good.
    void JumpProgressToEnd();
    // Adds one rounded-rectangle figure, or a plain rectangle for a radius
    // that is not greater than zero.
    static void AddRoundRectPath(Gdiplus::GpPath* path, const Gdiplus::RectF& rect, float radius);

    int m_nCornerRadius = 8;
    int m_nBarRadius = 3;
    RgbColor m_clrText{235, 235, 237};
    RgbColor m_clrTrack{65, 77, 102};
    RgbColor m_clrFill{33, 128, 253};
    RgbColor m_clrBack{47, 55, 74};
    BOOL m_bDragging = FALSE;
    POINT m_ptDragAnchor{0, 0};
    int m_nProgress = 60;
    BOOL m_bAnimating = TRUE;
    BOOL m_bFinished = FALSE;
    RECT m_rcText{0, 0, 0, 0};
    RECT m_rcBar{0, 0, 0, 0};
    CFont m_font;
    int m_nMarginX = 30;
    int m_nMarginTop = 24;
    int m_nBarHeight = 6;
    ULONG_PTR m_gdiplusToken = 0;
    BOOL m_bGdiplusStarted = FALSE;
    double m_dScale = 1.0;
    CString m_strTempDir;
    CString m_strAppName;
    CString m_strMiniName;
    CString m_strGalleryName;
    CString m_strLocalPath;
    bool m_bInstallerLaunched = false;
    // GetTickCount64 when the window was created: the origin of the trace's times.
    ULONGLONG m_nCreationTick = 0;
    // The run's log, which receives every trace line; null when there is none.
    RunLog* m_pRunLog = nullptr;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    void OnMouseMove(UINT nFlags, POINT point);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnNcPaint();
    BOOL OnNcActivate(BOOL bActive);
    void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

private:
    void ShapeWindow();
    void OnProgressTick();
    // The switch's state for this run, held by the window and its file.
    SwitchState SwitchStateOfTheRun();
    // A close request ends the run: the switch has its say first.
    void EndSwitchOnClose();

public:
    // Arms a timer so that it falls due one period after the start of the
    // tick being handled (or after now, outside a tick).
    void ArmTimerFromTickStart(UINT_PTR id, UINT periodMs);

private:
    // When the tick being handled began, in performance-counter units; 0
    // outside a tick.
    long long m_nTickStart = 0;
};
