// Milestones of whole switches, in milliseconds from the window's creation,
// against the nominal course of the switch:
//   switch_milestones.exe [runs]
// Switch runs use the test stand-ins: an installer that works for 1.5 s and
// puts the classic edition in place, and a classic edition that stays. The
// nominal course: the installer starts at 100 ms; timer 4 then ticks at
// 600, 1100, ... ms, so the classic edition starts on the first of those
// ticks after the installer has ended, and the program ends 500 ms after
// the first of those ticks that finds Korvane.exe running. The times come
// from the program's trace (its own clock, from the window's creation) and
// from the platform's start and end times of the processes (the installer's
// start is its process's start, not the trace line written after it), put on
// one time line by the trace's arrival times.
// Bar runs keep an installer running for 7 s and watch the display: the bar
// reaches 95 when the pixel at 94.5 % of its width takes the fill colour,
// nominally 5.5 s after creation. Each is paired with a run of the bare popup
// whose timer follows the same nominal course and which takes the fill
// colour at its end, watched the same way: Wine's timers are late by some
// tens of milliseconds over 5.5 s, more on a busy machine, and that lateness
// falls on both.
#include "../support/bench_args.h"
#include "../support/bench_clock.h"
#include "../support/bench_paths.h"
#include "../support/process_times.h"
#include "../support/sample_output.h"
#include "../support/screen_pixels.h"
#include "../support/top_window.h"
#include "../support/trace_listener.h"
#include "support/child_process.h"
#include "support/test_paths.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr double kInstallerStartMs = 100.0;
constexpr double kPeriodMs = 500.0;
constexpr uint32_t kFill = 0x2180FD;
constexpr uint32_t kTrack = 0x414D66;
constexpr double kLatenessLimitMs = 30.0;

// The first tick of timer 4 in the nominal course at or after the time.
double NominalTickAtOrAfter(double ms)
{
    const double ticks = std::max(1.0, std::ceil((ms - kInstallerStartMs) / kPeriodMs));
    return kInstallerStartMs + ticks * kPeriodMs;
}

std::wstring ProgramCommand(const std::wstring& installerDir, const std::wstring& installFolder)
{
    return Quoted(ProgramUnderTestPath()) + L" --TempDir " + Quoted(installerDir) +
           L" --AppName KorvaneSetup.exe --MiniName cs-bench-mini.exe --GalleryName cs-bench-gallery.exe"
           L" --LocalPath " +
           Quoted(installFolder);
}

struct SwitchRun {
    double installerStarted;
    double installerEnded;
    double classicStarted;
    double classicAppeared;
    double programEnded;
};

bool RunSwitch(TraceListener& trace, int run, SwitchRun& out)
{
    const std::wstring folder = FreshWorkFolder((L"cs-bench-switch-" + std::to_wstring(run)).c_str());
    const std::wstring installerDir = folder + L"\\setup";
    ::CreateDirectoryW(installerDir.c_str(), nullptr);
    ::CopyFileW(TestProgramPath(L"gui_installer.exe").c_str(), (installerDir + L"\\KorvaneSetup.exe").c_str(), FALSE);
    ::CopyFileW(TestProgramPath(L"gui_classic.exe").c_str(), (installerDir + L"\\classic_payload.exe").c_str(), FALSE);

    ChildProcess program(ProgramCommand(installerDir, folder + L"\\install"));
    if (!program.Started())
        return false;
    std::unique_ptr<WatchedProcess> installer;
    const double giveUp = SteadyNowUs() + 20e6;
    while (program.Running() && SteadyNowUs() < giveUp) {
        if (!installer && FindEvent(trace.Lines(program.Id()), "installer started"))
            installer = std::make_unique<WatchedProcess>(L"KorvaneSetup.exe");
        ::Sleep(5);
    }
    WatchedProcess classic(L"Korvane.exe");
    const std::vector<TraceListener::Line> lines = trace.Lines(program.Id());
    const double creation = CreationWallMs(lines);
    const TraceListener::Line* started = FindEvent(lines, "installer started");
    const TraceListener::Line* launched = FindEvent(lines, "classic started");
    const double programEnd = ProcessEndedMs(program.Handle());
    const bool complete = started && launched && installer && installer->Found() && classic.Found() &&
                          programEnd > 0.0 && installer->EndedMs() > 0.0;
    if (complete)
        out = SwitchRun{installer->StartedMs() - creation, installer->EndedMs() - creation, launched->elapsedMs,
                        classic.StartedMs() - creation, programEnd - creation};
    classic.Terminate();
    return complete;
}

struct BarRow {
    int y = -1;
    int left = 0;
    int right = 0;
};

bool Near(uint32_t pixel, uint32_t color)
{
    auto channel = [](uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    int distance = 0;
    for (int shift : {0, 8, 16})
        distance += std::abs(channel(pixel, shift) - channel(color, shift));
    return distance < 24;
}

// The bar's middle row and extent in window pixels, found by its colours.
BarRow FindBar(ScreenPixels& screen, const RECT& window)
{
    const std::vector<uint32_t> pixels = screen.Read(window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    BarRow bar;
    int firstRow = -1, lastRow = -1;
    for (int y = 0; y < height && !pixels.empty(); ++y) {
        for (int x = 0; x < width; ++x) {
            if (pixels[static_cast<size_t>(y * width + x)] == kFill) {
                firstRow = firstRow < 0 ? y : firstRow;
                lastRow = y;
                break;
            }
        }
    }
    if (firstRow < 0)
        return bar;
    bar.y = (firstRow + lastRow) / 2;
    const uint32_t* row = &pixels[static_cast<size_t>(bar.y * width)];
    bar.left = -1;
    for (int x = 0; x < width; ++x) {
        if (bar.left < 0 && Near(row[x], kFill))
            bar.left = x;
        if (Near(row[x], kFill) || Near(row[x], kTrack))
            bar.right = x + 1;
    }
    return bar;
}

// Waits until the display shows the colour at the probe, from creation +
// 4.5 s to creation + 8 s; milliseconds from creation, or a negative value.
double WaitForColor(ScreenPixels& screen, const RECT& probe, uint32_t color, double creation)
{
    while (WallNowMs() < creation + 4500.0)
        ::Sleep(10);
    while (WallNowMs() < creation + 8000.0) {
        const std::vector<uint32_t> pixel = screen.Read(probe);
        if (!pixel.empty() && Near(pixel[0], color))
            return WallNowMs() - creation;
        ::Sleep(1);
    }
    return -1.0;
}

// The wall time at which a process's window was created (its timers armed),
// from its trace; 0 when none came within 2 s.
double WaitForCreation(TraceListener& trace, DWORD processId)
{
    double creation = 0.0;
    for (int i = 0; i < 400 && creation == 0.0; ++i) {
        ::Sleep(5);
        creation = CreationWallMs(trace.Lines(processId));
    }
    return creation;
}

// Milliseconds from creation until the program's bar shows 95, or a
// negative value.
double ProgramBar(TraceListener& trace, int run)
{
    const std::wstring folder = FreshWorkFolder((L"cs-bench-bar-" + std::to_wstring(run)).c_str());
    const std::wstring installerDir = folder + L"\\setup";
    ::CreateDirectoryW(installerDir.c_str(), nullptr);
    ::CopyFileW(BenchProgramPath(L"stand_in.exe").c_str(), (installerDir + L"\\KorvaneSetup.exe").c_str(), FALSE);
    ::SetEnvironmentVariableW(L"CS_BENCH_LIFETIME_MS", L"7000");
    ChildProcess program(ProgramCommand(installerDir, folder + L"\\install"));
    ::SetEnvironmentVariableW(L"CS_BENCH_LIFETIME_MS", nullptr);
    double result = -1.0;
    ScreenPixels screen;
    const double creation = WaitForCreation(trace, program.Id());
    HWND window = VisibleWindowOf(program.Id());
    RECT rect{};
    if (creation > 0.0 && window && ::GetWindowRect(window, &rect)) {
        while (WallNowMs() < creation + 1000.0)
            ::Sleep(10);
        const BarRow bar = FindBar(screen, rect);
        const int x95 = rect.left + bar.left + static_cast<int>(0.945 * (bar.right - bar.left));
        const RECT probe{x95, rect.top + bar.y, x95 + 1, rect.top + bar.y + 1};
        if (bar.y >= 0)
            result = WaitForColor(screen, probe, kFill, creation);
    }
    program.Terminate();
    WatchedProcess(L"KorvaneSetup.exe").Terminate();
    return result;
}

// The same for the bare popup on the bar's nominal course: milliseconds from
// its timer's arming until it shows the fill colour, or a negative value.
double BareBar(TraceListener& trace)
{
    ChildProcess popup(Quoted(BenchProgramPath(L"bare_popup.exe")) + L" --course");
    double result = -1.0;
    ScreenPixels screen;
    const double creation = WaitForCreation(trace, popup.Id());
    HWND window = VisibleWindowOf(popup.Id());
    RECT rect{};
    if (creation > 0.0 && window && ::GetWindowRect(window, &rect)) {
        const LONG x = (rect.left + rect.right) / 2;
        const LONG y = (rect.top + rect.bottom) / 2;
        result = WaitForColor(screen, RECT{x, y, x + 1, y + 1}, kFill, creation);
    }
    popup.Terminate();
    return result;
}

// Each milestone is judged by how far a run's time lies from its nominal
// time; the nominal time of a run is its baseline.
void DeclareMilestone(const char* key, const char* measure, const char* nominal)
{
    DeclareRow({key, measure, Check::Deviation, kLatenessLimitMs, "ms", 0, nominal});
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = RunsArgument(argc, argv, 5);
    TraceListener trace;
    if (!trace.Listening())
        return 1;
    DeclareMilestone("switch.installer", "Switch: installer started (ms from window creation)", "100 (nominal)");
    DeclareMilestone("switch.classic", "Switch: classic edition started, after the installer ended (ms)",
                     "<= 500 (next 500 ms tick)");
    DeclareMilestone("switch.ended", "Switch: program ended, after Korvane.exe appeared (ms)",
                     "500 after the tick that sees it");
    DeclareRow({"switch.bar95",
                "Bar at 95 (ms from window creation; nominal 5500), against a bare popup on the same timers",
                Check::Deviation, kLatenessLimitMs, "ms", 0, ""});
    for (int run = 0; run < runs; ++run) {
        SwitchRun r{};
        if (!RunSwitch(trace, run, r)) {
            std::fprintf(stderr, "switch run %d: incomplete\n", run);
            continue;
        }
        std::fprintf(stderr,
                     "switch run %d: installer %.0f-%.0f, classic started %.0f, appeared %.0f, program ended %.0f ms\n",
                     run, r.installerStarted, r.installerEnded, r.classicStarted, r.classicAppeared, r.programEnded);
        PrintSample("switch.installer", r.installerStarted, kInstallerStartMs);
        PrintSample("switch.classic", r.classicStarted - r.installerEnded,
                    NominalTickAtOrAfter(r.installerEnded) - r.installerEnded);
        PrintSample("switch.ended", r.programEnded - r.classicAppeared,
                    NominalTickAtOrAfter(r.classicAppeared) + kPeriodMs - r.classicAppeared);
    }
    // The bar's runs are paired with the bare popup's course, in alternating
    // order: the platform's timers make both late alike, and the distance
    // between the two is the program's own.
    for (int run = 0; run < runs; ++run) {
        double program = 0.0, bare = 0.0;
        if (run % 2 == 0) {
            program = ProgramBar(trace, run);
            bare = BareBar(trace);
        } else {
            bare = BareBar(trace);
            program = ProgramBar(trace, run);
        }
        std::fprintf(stderr, "bar run %d: 95 shown at %.0f ms, the bare course's end at %.0f ms\n", run, program, bare);
        if (program > 0.0 && bare > 0.0)
            PrintSample("switch.bar95", program, bare);
    }
    return 0;
}
