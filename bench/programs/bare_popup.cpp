// The baseline program: the bare popup of the progress window's size and
// styles, centred on the screen, until it is ended.
//   bare_popup.exe [--poll <exe name> | --course]
// With --poll it also walks the process list for that name every 500 ms on
// a window timer, as the progress window does while an installer runs: the
// floor of the program's idle cost.
// With --course its timer follows the nominal course of the progress bar
// (BareCourse) and the window turns to the bar's fill colour at the course's
// end: what the platform's timers alone make of the 5.5 s to 95. It writes
// "bare popup +0 ms: timers armed" to the debugger output when it arms the
// timer, so that a watcher knows when the course began.
#include "../support/bare_course.h"
#include "../support/bare_popup_window.h"
#include "../support/bare_walk.h"

#include <shellapi.h>

#include <string>

namespace {
constexpr UINT_PTR kTimer = 1;
constexpr UINT kPollPeriodMs = 500;

struct Options {
    std::wstring pollName;
    bool course = false;
};

Options ReadOptions()
{
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    Options options;
    for (int i = 1; argv && i < count; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--poll" && i + 1 < count)
            options.pollName = argv[i + 1];
        else if (argument == L"--course")
            options.course = true;
    }
    if (argv)
        ::LocalFree(argv);
    return options;
}

long long CounterNow()
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// One tick of the course: a redraw, the fill colour at the end, and the
// slower timer re-armed from the tick's start.
void CourseTick(BarePopupWindow& popup, BareCourse& course)
{
    const long long start = CounterNow();
    const BareCourse::Step step = course.Tick();
    if (step.finished) {
        ::KillTimer(popup.Handle(), kTimer);
        popup.Repaint(kBareCourseFinalColor);
        return;
    }
    popup.Repaint(BarePopupWindow::kColor);
    if (step.slowPeriodMs) {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        const long long elapsedMs = (CounterNow() - start) * 1000 / frequency.QuadPart;
        const long long remaining = static_cast<long long>(step.slowPeriodMs) - elapsedMs;
        ::SetTimer(popup.Handle(), kTimer, static_cast<UINT>(remaining < 10 ? 10 : remaining), nullptr);
    }
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const Options options = ReadOptions();
    const SIZE size = ProgressWindowSize(1.0);
    const POINT corner = CentredOnScreen(size);
    BarePopupWindow popup(corner.x, corner.y, size.cx, size.cy);
    if (!popup.Handle())
        return 1;
    BareCourse course;
    if (options.course) {
        ::SetTimer(popup.Handle(), kTimer, BareCourse::kFirstPeriodMs, nullptr);
        ::OutputDebugStringW(L"bare popup +0 ms: timers armed\n");
    } else if (!options.pollName.empty()) {
        ::SetTimer(popup.Handle(), kTimer, kPollPeriodMs, nullptr);
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == kTimer) {
            if (options.course) {
                CourseTick(popup, course);
            } else {
                ::SetTimer(popup.Handle(), kTimer, kPollPeriodMs, nullptr);
                BareWalkFinds(options.pollName.c_str());
            }
            continue;
        }
        ::DispatchMessageW(&message);
    }
    return 0;
}
