#pragma once
#include "framework/win32_base.h"
#include "support/debug_output_monitor.h"

#include <string>
#include <vector>

// Reads the program's trace ("ClassicSwitch +<ms> ms: <event>"), or a
// baseline's in the same format, from the debugger output with each line's
// arrival time. A line's arrival minus its
// <ms> is the wall time of the window's creation, which puts the trace on the
// same time line as process starts and ends. Only one listener can run at a
// time.
class TraceListener {
public:
    struct Line {
        DWORD processId;
        double arrivedMs;  // wall time
        double elapsedMs;  // <ms>: since the window's creation
        std::string event;
    };

    bool Listening() const { return m_monitor.Listening(); }
    std::vector<Line> Lines(DWORD processId) const;

private:
    DebugOutputMonitor m_monitor;
};

// The first line whose event starts with the text, or null.
const TraceListener::Line* FindEvent(const std::vector<TraceListener::Line>& lines, const char* start);
// The wall time of the window's creation: the earliest arrival minus elapsed
// time, the line that waited least. 0 without lines.
double CreationWallMs(const std::vector<TraceListener::Line>& lines);
