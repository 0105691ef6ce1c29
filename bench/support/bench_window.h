#pragma once
#include "window/custom_window.h"

#include <string>

// A real progress window inside the benchmark's own process, made as
// start-up makes it (names given, created, sized to 420 by 114 times the
// scale) but placed where the benchmark wants and with its timers stopped,
// so that only the benchmark drives it. The installer, mini edition and
// gallery names match no process; the installer and installation folders
// are under folder. The frame deletes the object when its window goes.
CCustomWindow* CreateBenchWindow(const std::wstring& folder, double scale, POINT topLeft);
