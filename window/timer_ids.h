#pragma once
#include "../framework/win32_base.h"

// The progress window's timers, told apart by their identifier alone.
enum : UINT_PTR {
    TIMER_PROGRESS = 1,  // the progress animation
    TIMER_PREPARE = 2,   // closing the editions, then starting the installer
    TIMER_QUIT = 3,      // the deadline, or the quit once the work is done
    TIMER_LAUNCH = 4,    // waiting for the installer, then for the classic edition
};
