// Tick cost: one tick of each sequencer timer of a real progress window in
// this process, delivered as the message loop delivers it, against the same
// number of bare process-list walks, with 10, 100 and 300 extra processes in
// the prefix.
//   tick_bench.exe [runs]
// The window is first led into the states whose ticks repeat for a long time:
// timer 2 after the installer's start was attempted (it asks for the mini
// edition and the gallery program: two walks), timer 4 waiting for the
// classic edition (it asks for Korvane.exe: one walk), and timer 3, which
// posts the quit message (no walk; the posted quit is never read here).
#include "../support/bare_walk.h"
#include "../support/bench_args.h"
#include "../support/bench_clock.h"
#include "../support/bench_paths.h"
#include "../support/bench_window.h"
#include "../support/result_row.h"
#include "../support/stats.h"
#include "support/child_process.h"

#include <tlhelp32.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int kSizes[] = {10, 100, 300};

struct TickCosts {
    double prepare;  // timer 2
    double bare2;    // two bare walks
    double launch;   // timer 4
    double bare1;    // one bare walk
    double quit;     // timer 3
};

double Tick(HWND window, UINT_PTR id)
{
    return TimeUs([&] { ::SendMessageW(window, WM_TIMER, id, 0); });
}

int ProcessCount()
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        ++count;
    ::CloseHandle(snapshot);
    return count;
}

TickCosts Measure(HWND window, int runs)
{
    std::vector<double> prepare, bare2, launch, bare1, quit;
    for (int run = 0; run < runs; ++run) {
        // Which of the two goes first alternates, so that neither always
        // finds the caches the other left.
        const bool programFirst = run % 2 == 0;
        auto programTicks = [&] {
            prepare.push_back(Tick(window, TIMER_PREPARE));
            launch.push_back(Tick(window, TIMER_LAUNCH));
            quit.push_back(Tick(window, TIMER_QUIT));
        };
        auto bareWalks = [&] {
            bare2.push_back(TimeUs([] {
                BareWalkFinds(L"cs-bench-mini.exe");
                BareWalkFinds(L"cs-bench-gallery.exe");
            }));
            bare1.push_back(TimeUs([] { BareWalkFinds(L"Korvane.exe"); }));
        };
        if (programFirst) {
            programTicks();
            bareWalks();
        } else {
            bareWalks();
            programTicks();
        }
    }
    return TickCosts{Median(prepare), Median(bare2), Median(launch), Median(bare1), Median(quit)};
}

void PrintSize(int extra, const TickCosts& c)
{
    const std::string suffix = ", " + std::to_string(extra) + " extra processes (us)";
    PrintRow({"Tick of timer 2 (2 process queries)" + suffix, Fixed(c.prepare, 0), Fixed(c.bare2, 0),
              RatioText(c.prepare, c.bare2), "ratio <= 1.05", YesNo(c.prepare <= 1.05 * c.bare2)});
    PrintRow({"Tick of timer 4 (1 process query)" + suffix, Fixed(c.launch, 0), Fixed(c.bare1, 0),
              RatioText(c.launch, c.bare1), "ratio <= 1.05", YesNo(c.launch <= 1.05 * c.bare1)});
    PrintRow({"Tick of timer 3 (no process query)" + suffix, Fixed(c.quit, 0), "-", "-", "-", "-"});
}

void PrintGrowth(const char* what, double programLow, double programHigh, double bareLow, double bareHigh, int span)
{
    const double program = (programHigh - programLow) / span;
    const double bare = (bareHigh - bareLow) / span;
    PrintRow({std::string("Growth of a tick of ") + what + " per extra process (us)", Fixed(program, 1), Fixed(bare, 1),
              RatioText(program, bare), "ratio <= 1.05", YesNo(program <= 1.05 * bare)});
}

void StartExtraProcesses(std::vector<std::unique_ptr<ChildProcess>>& extras, int wanted)
{
    const std::wstring commandLine = Quoted(BenchProgramPath(L"stand_in.exe"));
    ::SetEnvironmentVariableW(L"CS_BENCH_LIFETIME_MS", L"3600000");
    while (static_cast<int>(extras.size()) < wanted)
        extras.push_back(std::make_unique<ChildProcess>(commandLine));
    ::SetEnvironmentVariableW(L"CS_BENCH_LIFETIME_MS", nullptr);
    ::Sleep(2000);  // let the new processes finish starting before anything is timed
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = RunsArgument(argc, argv, 15);
    const std::wstring folder = FreshWorkFolder(L"cs-bench-ticks");
    const std::wstring install = folder + L"\\install";
    ::CreateDirectoryW(install.c_str(), nullptr);
    // The classic edition that the first tick of timer 4 starts ends at once,
    // so that later ticks keep waiting for it.
    ::CopyFileW(BenchProgramPath(L"stand_in.exe").c_str(), (install + L"\\Korvane.exe").c_str(), FALSE);
    ::SetEnvironmentVariableW(L"CS_BENCH_LIFETIME_MS", nullptr);

    CCustomWindow* window = CreateBenchWindow(folder, 1.0, POINT{0, 0});
    if (!window)
        return 1;
    const HWND hWnd = window->m_hWnd;
    Tick(hWnd, TIMER_PREPARE);  // the installer is missing: its start is attempted once
    Tick(hWnd, TIMER_LAUNCH);   // no installer runs: Korvane.exe is started
    for (int i = 0; i < 100 && BareWalkFinds(L"Korvane.exe"); ++i)
        ::Sleep(50);

    const int before = ProcessCount();
    std::fprintf(stderr, "ticks: %d processes in the prefix before the extra ones\n", before);
    std::vector<std::unique_ptr<ChildProcess>> extras;
    std::vector<TickCosts> costs;
    for (int extra : kSizes) {
        StartExtraProcesses(extras, extra);
        costs.push_back(Measure(hWnd, runs));
        PrintSize(extra, costs.back());
    }
    const int span = kSizes[2] - kSizes[0];
    PrintGrowth("timer 2", costs[0].prepare, costs[2].prepare, costs[0].bare2, costs[2].bare2, span);
    PrintGrowth("timer 4", costs[0].launch, costs[2].launch, costs[0].bare1, costs[2].bare1, span);
    ::DestroyWindow(hWnd);
    return 0;
}
