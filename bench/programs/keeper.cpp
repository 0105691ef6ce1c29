// Keeps the Wine desktop alive between the programs that the benchmarks
// start, so that every start is warm: one tiny window in the screen's
// corner, far from the centre where the measured windows appear. It runs
// until it is ended.
#include "framework/win32_base.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"ClassicSwitchBenchKeeper";
    ::RegisterClassW(&windowClass);
    HWND window = ::CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"keeper", WS_POPUP | WS_VISIBLE, 0, 0,
                                    2, 2, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&message);
    return 0;
}
