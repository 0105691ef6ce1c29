// Paint cost of a real progress window in this process: a full paint at
// scale 1 and 2, and the animation's repaint of the bar's area alone
// (RedrawProgressBar), each paired with the bare popup of the same size
// painting the same area, the order alternating from pair to pair. The full
// paint at scale 1 is also paired with a bare popup that paints through an
// off-screen bitmap, as the progress window must: the difference is the
// cost of the program's own drawing, the part that has a target.
//   paint_bench.exe [pairs]
// A paint is timed as the system asks for it: the area is invalidated and
// the window updated, which runs the paint handler before it returns.
#include "../support/bare_popup_window.h"
#include "../support/bench_args.h"
#include "../support/bench_clock.h"
#include "../support/bench_paths.h"
#include "../support/bench_window.h"
#include "../support/sample_output.h"

#include <string>
#include <vector>

namespace {
constexpr int kWarmUpPaints = 20;
// The budget of the program's own drawing in a full paint at scale 1.
constexpr double kOwnPaintLimitUs = 250.0;

double PaintUs(HWND window, const RECT* area)
{
    return TimeUs([&] {
        ::InvalidateRect(window, area, FALSE);
        ::UpdateWindow(window);
    });
}

// pair(programFirst, p, b) times the program's paint and the popup's, in
// that order or the other; the pairs after the warm-up become samples.
template <typename Pair>
void Alternate(const std::string& key, int pairs, Pair pair)
{
    for (int run = -kWarmUpPaints; run < pairs; ++run) {
        double p = 0.0, b = 0.0;
        pair(run % 2 == 0, p, b);
        if (run >= 0)
            PrintSample(key, p, b);
    }
}

void FullPaints(const std::string& key, CCustomWindow* window, HWND popup, int pairs)
{
    Alternate(key, pairs, [&](bool programFirst, double& p, double& b) {
        if (programFirst)
            p = PaintUs(window->m_hWnd, nullptr);
        b = PaintUs(popup, nullptr);
        if (!programFirst)
            p = PaintUs(window->m_hWnd, nullptr);
    });
}

// The bar's area grown by 2 pixels, as RedrawProgressBar invalidates it.
void BarRepaints(const std::string& key, CCustomWindow* window, HWND popup, int pairs)
{
    RECT area = window->m_rcBar;
    ::InflateRect(&area, 2, 2);
    Alternate(key, pairs, [&](bool programFirst, double& p, double& b) {
        if (programFirst)
            p = TimeUs([&] { window->RedrawProgressBar(); });
        b = PaintUs(popup, &area);
        if (!programFirst)
            p = TimeUs([&] { window->RedrawProgressBar(); });
    });
}

RowSpec Shown(const char* key, const char* measure)
{
    return RowSpec{key, measure, Check::None, 0.0, "us", 0, ""};
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int pairs = RunsArgument(argc, argv, 301);
    const std::wstring folder = FreshWorkFolder(L"cs-bench-paint");
    for (double scale : {1.0, 2.0}) {
        // Side by side, so that neither covers the other.
        CCustomWindow* window = CreateBenchWindow(folder, scale, POINT{40, 40});
        if (!window)
            return 1;
        const SIZE size = ProgressWindowSize(scale);
        BarePopupWindow popup(60 + size.cx, 40, size.cx, size.cy);
        if (scale == 1.0) {
            DeclareRow(Shown("paint.full1", "Full paint, scale 1 (us)"));
            FullPaints("paint.full1", window, popup.Handle(), pairs);
            // What the platform charges any double-buffered window varies
            // several-fold with Wine's state; the program's own part beyond
            // it is what the program decides, and what is judged.
            BarePopupWindow buffered(60 + size.cx, 80 + size.cy, size.cx, size.cy,
                                     BarePopupWindow::Paint::DoubleBuffered);
            DeclareRow({"paint.full1.own",
                        "Full paint, scale 1: the program's own part, over a double-buffered bare popup (us)",
                        Check::Extra, kOwnPaintLimitUs, "us", 0, ""});
            FullPaints("paint.full1.own", window, buffered.Handle(), pairs);
            DeclareRow(Shown("paint.bar", "Bar repaint (RedrawProgressBar), scale 1 (us)"));
            BarRepaints("paint.bar", window, popup.Handle(), pairs);
        } else {
            DeclareRow(Shown("paint.full2", "Full paint, scale 2 (us)"));
            FullPaints("paint.full2", window, popup.Handle(), pairs);
        }
        ::DestroyWindow(window->m_hWnd);
    }
    return 0;
}
