#include "top_window.h"

namespace {
struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM context)
{
    Search& search = *reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !::IsWindowVisible(window))
        return TRUE;
    search.found = window;
    return FALSE;
}
}  // namespace

HWND VisibleWindowOf(DWORD processId)
{
    Search search{processId, nullptr};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
