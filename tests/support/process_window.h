#pragma once
#include "framework/win32_base.h"

#include <functional>

// The first visible top-level window of the process that accept takes (any,
// when accept is empty), or null.
HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& accept = nullptr);

// The process's visible window once it has the given outer size, which is
// when start-up has placed it; null when the process ends first or the time
// runs out.
HWND WaitForPlacedWindow(DWORD processId, HANDLE process, int width, int height, DWORD timeoutMs);
