// Start-up, warm: from the start of a process until its window's first
// complete paint shows on the display, for the progress window and for the
// bare popup, in pairs whose order alternates (program first, then popup
// first), so that a change in the machine's load falls on both.
//   startup_probe.exe [pairs]
// The end of the first complete paint is seen from outside, the same way for
// both: the first moment the display shows a colour that only a complete
// picture has, in one pixel column of the window. The progress window draws
// off screen and copies the whole picture at once, so the bar's fill colour
// (progress 60 covers the column) appears with the rest of the picture; the
// bare popup's one colour is its whole picture.
#include "../support/bare_popup_window.h"
#include "../support/bench_args.h"
#include "../support/bench_clock.h"
#include "../support/bench_paths.h"
#include "../support/sample_output.h"
#include "../support/screen_pixels.h"
#include "../support/top_window.h"
#include "support/child_process.h"
#include "support/test_paths.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr COLORREF kBarFill = RGB(33, 128, 253);
// Window x of the watched column: inside the bar's fill at progress 60, at
// every scale, and inside the bare popup.
constexpr int kColumnX = 100;
constexpr double kGiveUpMs = 5000.0;

struct Candidate {
    std::wstring commandLine;
    uint32_t color;
};

bool ColumnShows(ScreenPixels& screen, HWND window, uint32_t color)
{
    RECT rect;
    if (!::GetWindowRect(window, &rect))
        return false;
    const RECT column{rect.left + kColumnX, rect.top, rect.left + kColumnX + 1, rect.bottom};
    const std::vector<uint32_t> pixels = screen.Read(column);
    return std::find(pixels.begin(), pixels.end(), color) != pixels.end();
}

// Milliseconds from the start of the process to the complete picture; a
// negative value when it never showed.
double MeasureStart(const Candidate& candidate, ScreenPixels& screen)
{
    const double start = SteadyNowUs();
    ChildProcess child(candidate.commandLine);
    if (!child.Started())
        return -1.0;
    double elapsedMs = 0.0;
    while ((elapsedMs = (SteadyNowUs() - start) / 1000.0) < kGiveUpMs) {
        HWND window = VisibleWindowOf(child.Id());
        if (window && ColumnShows(screen, window, candidate.color))
            return elapsedMs;
        ::Sleep(1);
    }
    return -1.0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int pairs = RunsArgument(argc, argv, 21);
    // No installer in the folder: the program would end 600 ms after its
    // window appeared, long after its first paint, and does nothing else.
    const std::wstring folder = FreshWorkFolder(L"cs-bench-startup");
    const Candidate program{Quoted(ProgramUnderTestPath()) + L" --TempDir " + Quoted(folder) +
                                L" --AppName cs-bench-setup.exe --MiniName cs-bench-mini.exe"
                                L" --GalleryName cs-bench-gallery.exe --LocalPath " +
                                Quoted(folder + L"\\install"),
                            Rgb(kBarFill)};
    const Candidate popup{Quoted(BenchProgramPath(L"bare_popup.exe")), Rgb(BarePopupWindow::kColor)};

    DeclareRow({"startup.warm", "Start-up to first complete paint, warm (ms)", Check::Ratio, 1.15, "ms", 1, ""});
    ScreenPixels screen;
    auto measure = [&](const Candidate& candidate) {
        const double ms = MeasureStart(candidate, screen);
        ::Sleep(300);
        return ms;
    };
    for (int pair = -1; pair < pairs; ++pair) {  // pair -1 warms both up
        const bool programFirst = pair % 2 == 0;
        double p = 0.0, b = 0.0;
        if (programFirst) {
            p = measure(program);
            b = measure(popup);
        } else {
            b = measure(popup);
            p = measure(program);
        }
        std::fprintf(stderr, "start-up pair %d: program %.1f ms, popup %.1f ms\n", pair, p, b);
        if (p < 0.0 || b < 0.0) {
            std::fprintf(stderr, "start-up pair %d: no complete picture seen\n", pair);
            continue;
        }
        if (pair >= 0)
            PrintSample("startup.warm", p, b);
    }
    return 0;
}
