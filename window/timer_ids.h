#pragma once
#include "../framework/win32_base.h"
#include "../workflow/switch_timer_ids.h"

// The window's own timer; the switch's timers share the window and its
// identifier space.
constexpr UINT_PTR TIMER_PROGRESS = 1;  // the progress animation
