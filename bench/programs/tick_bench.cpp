// Tick cost: one tick of a sequencer timer of a real progress window in this
// process, delivered as the message loop delivers it, paired with the bare
// work that the tick cannot do without (the same number of bare process-list
// walks), with 10, 100 and 300 extra processes in the prefix.
//   tick_bench.exe [pairs]
// The window is first led into the states whose ticks repeat for a long time:
// timer 2 after the installer's start was attempted (it asks for the mini
// edition and the gallery program: two walks), timer 4 waiting for the
// classic edition (it asks for Korvane.exe: one walk), and timer 3, which
// posts the quit message (no walk; the posted quit is never read here).
// Each row is one entry of kTickRows: a tick to time and the baseline work
// to pair it with. As in the program, the window's trace also goes to a run's
// log, opened for this process in the usual folder; one row shows what that
// costs a tick that writes a line.
#include "../support/bare_walk.h"
#include "../support/bench_args.h"
#include "../support/bench_clock.h"
#include "../support/bench_paths.h"
#include "../support/bench_window.h"
#include "../support/sample_output.h"
#include "support/child_process.h"
#include "workflow/run_log.h"
#include "workflow/run_log_file.h"

#include <tlhelp32.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int kSizes[] = {10, 100, 300};
constexpr double kTickRatioLimit = 1.05;
// A trace line's trip to the log (one append of one line to a file that is
// already open) against the rest of a tick that writes one.
constexpr double kLogLineLimitUs = 100.0;

CCustomWindow* g_window = nullptr;
RunLog* g_log = nullptr;

void TwoBareWalks()
{
    BareWalkFinds(L"cs-bench-mini.exe");
    BareWalkFinds(L"cs-bench-gallery.exe");
}

void OneBareWalk()
{
    BareWalkFinds(L"Korvane.exe");
}

// The same tick as the row's, with the trace going to the debugger only.
void QuitTickWithoutLog()
{
    g_window->m_pRunLog = nullptr;
    ::SendMessageW(g_window->m_hWnd, WM_TIMER, TIMER_QUIT, 0);
    g_window->m_pRunLog = g_log;
}

// One row per tick kind and process count. A row without baseline work is
// shown without a target; a row with a growth measure also gives the growth
// of its tick per extra process.
struct TickRow {
    const char* key;      // the row's key is "<key>.<extra processes>"
    const char* measure;  // ", <n> extra processes (us)" is added
    UINT_PTR timer;
    void (*baseline)();
    Check check;
    double limit;
    const char* growth;
};

const TickRow kTickRows[] = {
    {"tick.t2", "Tick of timer 2 (2 process queries)", TIMER_PREPARE, TwoBareWalks, Check::Ratio, kTickRatioLimit,
     "Growth of a tick of timer 2 per extra process (us)"},
    {"tick.t4", "Tick of timer 4 (1 process query)", TIMER_LAUNCH, OneBareWalk, Check::Ratio, kTickRatioLimit,
     "Growth of a tick of timer 4 per extra process (us)"},
    {"tick.t3", "Tick of timer 3 (no process query)", TIMER_QUIT, nullptr, Check::None, 0.0, nullptr},
    {"tick.log", "Tick of timer 3: its trace line's write to the run's log, over the same tick without a log",
     TIMER_QUIT, QuitTickWithoutLog, Check::Extra, kLogLineLimitUs, nullptr},
};
constexpr size_t kRowCount = sizeof(kTickRows) / sizeof(kTickRows[0]);

struct Pair {
    double program;
    double baseline;
};
using PairsByRow = std::vector<std::vector<Pair>>;

double Tick(HWND window, UINT_PTR id)
{
    return TimeUs([&] { ::SendMessageW(window, WM_TIMER, id, 0); });
}

std::string RowKey(const TickRow& row, int extra)
{
    return std::string(row.key) + "." + std::to_string(extra);
}

void DeclareRows(int extra)
{
    const std::string suffix = ", " + std::to_string(extra) + " extra processes (us)";
    for (const TickRow& row : kTickRows) {
        DeclareRow({RowKey(row, extra), row.measure + suffix, row.check, row.limit, "us", 0, ""});
    }
}

// Each pair times the tick and its baseline work back to back; which of the
// two goes first alternates from pair to pair and from row to row, so that
// neither always finds the caches the other left and a change of the
// machine's load falls on both.
PairsByRow MeasurePairs(HWND window, int pairs, int extra)
{
    PairsByRow measured(kRowCount);
    for (int pair = 0; pair < pairs; ++pair) {
        for (size_t r = 0; r < kRowCount; ++r) {
            const TickRow& row = kTickRows[r];
            Pair result{0.0, 0.0};
            const bool programFirst = (pair + r) % 2 == 0;
            if (!programFirst && row.baseline)
                result.baseline = TimeUs(row.baseline);
            result.program = Tick(window, row.timer);
            if (programFirst && row.baseline)
                result.baseline = TimeUs(row.baseline);
            measured[r].push_back(result);
            if (row.baseline)
                PrintSample(RowKey(row, extra), result.program, result.baseline);
            else
                PrintSample(RowKey(row, extra), result.program);
        }
    }
    return measured;
}

// The cost of one more process in the list, pair by pair: pair i at the
// largest count less pair i at the smallest, over the difference in counts.
void PrintGrowth(const PairsByRow& fewest, const PairsByRow& most, int span)
{
    for (size_t r = 0; r < kRowCount; ++r) {
        const TickRow& row = kTickRows[r];
        if (!row.growth || !row.baseline)
            continue;
        const std::string key = std::string("growth.") + row.key;
        DeclareRow({key, row.growth, Check::Ratio, kTickRatioLimit, "us", 1, ""});
        for (size_t i = 0; i < fewest[r].size() && i < most[r].size(); ++i) {
            PrintSample(key, (most[r][i].program - fewest[r][i].program) / span,
                        (most[r][i].baseline - fewest[r][i].baseline) / span);
        }
    }
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
    const int pairs = RunsArgument(argc, argv, 21);
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
    auto log = std::make_unique<RunLog>();
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const CString problem = OpenRunLog(*log, now, ::GetCurrentProcessId());
    if (!problem.IsEmpty()) {
        std::fprintf(stderr, "ticks: the run's log cannot be opened: %ls\n", problem.GetString());
        return 1;
    }
    window->m_pRunLog = log.get();
    g_window = window;
    g_log = log.get();
    const HWND hWnd = window->m_hWnd;
    Tick(hWnd, TIMER_PREPARE);  // the installer is missing: its start is attempted once
    Tick(hWnd, TIMER_LAUNCH);   // no installer runs: Korvane.exe is started
    for (int i = 0; i < 100 && BareWalkFinds(L"Korvane.exe"); ++i)
        ::Sleep(50);

    std::fprintf(stderr, "ticks: %d processes in the prefix before the extra ones\n", ProcessCount());
    std::vector<std::unique_ptr<ChildProcess>> extras;
    std::vector<PairsByRow> bySize;
    for (int extra : kSizes) {
        StartExtraProcesses(extras, extra);
        DeclareRows(extra);
        bySize.push_back(MeasurePairs(hWnd, pairs, extra));
    }
    PrintGrowth(bySize.front(), bySize.back(), kSizes[2] - kSizes[0]);
    window->m_pRunLog = nullptr;
    ::DestroyWindow(hWnd);
    // The benchmark's log is no run of the program's: it goes.
    const CString path = log->Path();
    log.reset();
    ::DeleteFileW(path);
    return 0;
}
