#pragma once
#include "framework/win32_base.h"

// The progress bar's nominal course, written down on its own for the
// baseline rather than borrowed from the program: from 60, one point per
// 50 ms tick up to 80, then one point every second tick; from 85 on, every
// tick re-arms the timer at 200 ms; 95 ends it, nominally 5.5 s after the
// timer was first armed. Every tick draws the bar again, moved or not.
class BareCourse {
public:
    static constexpr UINT kFirstPeriodMs = 50;

    struct Step {
        bool finished;      // the value reached 95: the timer stops
        UINT slowPeriodMs;  // the period to re-arm the timer with, or 0
    };

    Step Tick();

private:
    int m_value = 60;
    int m_tick = 0;
};

// The colour that the course's last step shows: the bar's fill.
constexpr COLORREF kBareCourseFinalColor = RGB(33, 128, 253);
