// Paint cost of a real progress window in this process: a full paint at
// scale 1 and 2, and the animation's repaint of the bar's area alone
// (RedrawProgressBar), each against the bare popup of the same size
// painting the same area, in alternation. The full paint at scale 1 is also
// read against a bare popup that paints through an off-screen bitmap, as the
// progress window must: what remains is the cost of its own drawing.
//   paint_bench.exe [runs]
// A paint is timed as the system asks for it: the area is invalidated and
// the window updated, which runs the paint handler before it returns.
#include "../support/bare_popup_window.h"
#include "../support/bench_args.h"
#include "../support/bench_clock.h"
#include "../support/bench_paths.h"
#include "../support/bench_window.h"
#include "../support/result_row.h"
#include "../support/stats.h"

#include <string>
#include <vector>

namespace {
constexpr int kWarmUpPaints = 20;

double PaintUs(HWND window, const RECT* area)
{
    return TimeUs([&] {
        ::InvalidateRect(window, area, FALSE);
        ::UpdateWindow(window);
    });
}

struct PaintCosts {
    double program;
    double popup;
};

// work(i) returns the program's time and the popup's time of run i.
template <typename Pair>
PaintCosts Alternate(int runs, Pair pair)
{
    std::vector<double> program, popup;
    for (int run = -kWarmUpPaints; run < runs; ++run) {
        double p = 0.0, b = 0.0;
        pair(run % 2 == 0, p, b);
        if (run >= 0) {
            program.push_back(p);
            popup.push_back(b);
        }
    }
    return PaintCosts{Median(program), Median(popup)};
}

PaintCosts FullPaints(CCustomWindow* window, HWND popup, int runs)
{
    return Alternate(runs, [&](bool programFirst, double& p, double& b) {
        if (programFirst)
            p = PaintUs(window->m_hWnd, nullptr);
        b = PaintUs(popup, nullptr);
        if (!programFirst)
            p = PaintUs(window->m_hWnd, nullptr);
    });
}

// The bar's area grown by 2 pixels, as RedrawProgressBar invalidates it.
PaintCosts BarRepaints(CCustomWindow* window, HWND popup, int runs)
{
    RECT area = window->m_rcBar;
    ::InflateRect(&area, 2, 2);
    return Alternate(runs, [&](bool programFirst, double& p, double& b) {
        if (programFirst)
            p = TimeUs([&] { window->RedrawProgressBar(); });
        b = PaintUs(popup, &area);
        if (!programFirst)
            p = TimeUs([&] { window->RedrawProgressBar(); });
    });
}

void PrintPaint(const std::string& what, const PaintCosts& costs, const std::string& target, bool met)
{
    PrintRow({what, Fixed(costs.program, 0), Fixed(costs.popup, 0), RatioText(costs.program, costs.popup), target,
              target == "-" ? "-" : YesNo(met)});
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = RunsArgument(argc, argv, 301);
    const std::wstring folder = FreshWorkFolder(L"cs-bench-paint");
    for (double scale : {1.0, 2.0}) {
        // Side by side, so that neither covers the other.
        CCustomWindow* window = CreateBenchWindow(folder, scale, POINT{40, 40});
        if (!window)
            return 1;
        const SIZE size = ProgressWindowSize(scale);
        BarePopupWindow popup(60 + size.cx, 40, size.cx, size.cy);
        const PaintCosts full = FullPaints(window, popup.Handle(), runs);
        if (scale == 1.0) {
            PrintPaint("Full paint, scale 1 (us)", full, "<= 1000 us", full.program <= 1000.0);
            BarePopupWindow buffered(60 + size.cx, 80 + size.cy, size.cx, size.cy,
                                     BarePopupWindow::Paint::DoubleBuffered);
            const PaintCosts againstBuffered = FullPaints(window, buffered.Handle(), runs);
            PrintPaint("Full paint, scale 1, against a double-buffered bare popup (us)", againstBuffered, "-", true);
            const PaintCosts bar = BarRepaints(window, popup.Handle(), runs);
            PrintPaint("Bar repaint (RedrawProgressBar), scale 1 (us)", bar, "-", true);
        } else {
            PrintPaint("Full paint, scale 2 (us)", full, "-", true);
        }
        ::DestroyWindow(window->m_hWnd);
    }
    return 0;
}
