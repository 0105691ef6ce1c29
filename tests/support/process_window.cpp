#include "process_window.h"

namespace {

struct WindowSearch {
    DWORD processId;
    const std::function<bool(HWND)>* accept;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !::IsWindowVisible(window))
        return TRUE;
    if (*search->accept && !(*search->accept)(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& accept)
{
    WindowSearch search{processId, &accept, nullptr};
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForPlacedWindow(DWORD processId, HANDLE process, int width, int height, DWORD timeoutMs)
{
    const auto placed = [width, height](HWND window) {
        RECT rect{};
        return ::GetWindowRect(window, &rect) && rect.right - rect.left == width && rect.bottom - rect.top == height;
    };
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND window = FindProcessWindow(processId, placed))
            return window;
        if (::GetTickCount64() >= deadline || ::WaitForSingleObject(process, 5) == WAIT_OBJECT_0)
            return FindProcessWindow(processId, placed);
    }
}
