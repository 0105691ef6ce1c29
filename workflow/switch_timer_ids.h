#pragma once
#include "../framework/win32_base.h"

// The switch's timers on the progress window, told apart by their identifier
// alone. The window dispatches their ticks to the sequencer.
constexpr UINT_PTR TIMER_PREPARE = 2;  // closing the editions, then starting the installer
constexpr UINT_PTR TIMER_QUIT = 3;     // the deadline, or the quit once the work is done
constexpr UINT_PTR TIMER_LAUNCH = 4;   // waiting for the installer, then for the classic edition
