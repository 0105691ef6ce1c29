// The baseline program: the bare popup of the progress window's size and
// styles, centred on the screen, until it is ended.
//   bare_popup.exe [--poll <exe name>]
// With --poll it also walks the process list for that name every 500 ms on
// a window timer, as the progress window does while an installer runs: the
// floor of the program's idle cost.
#include "../support/bare_popup_window.h"
#include "../support/bare_walk.h"

#include <shellapi.h>

#include <string>

namespace {
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollPeriodMs = 500;

std::wstring PollName()
{
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring name;
    for (int i = 1; argv && i + 1 < count; ++i) {
        if (std::wstring(argv[i]) == L"--poll")
            name = argv[i + 1];
    }
    if (argv)
        ::LocalFree(argv);
    return name;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring pollName = PollName();
    const SIZE size = ProgressWindowSize(1.0);
    const POINT corner = CentredOnScreen(size);
    BarePopupWindow popup(corner.x, corner.y, size.cx, size.cy);
    if (!popup.Handle())
        return 1;
    if (!pollName.empty())
        ::SetTimer(popup.Handle(), kPollTimer, kPollPeriodMs, nullptr);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == kPollTimer) {
            ::SetTimer(popup.Handle(), kPollTimer, kPollPeriodMs, nullptr);
            BareWalkFinds(pollName.c_str());
            continue;
        }
        ::DispatchMessageW(&message);
    }
    return 0;
}
