#pragma once
#include "framework/win32_base.h"

// The first visible top-level window of a process, or null.
HWND VisibleWindowOf(DWORD processId);
