#pragma once
#include "debug_output_monitor.h"

#include <string>
#include <vector>

// The program's trace, as it arrives in the debugger output:
//     ClassicSwitch +<ms> ms: <text>
struct TraceLine {
    long long ms;      // from the window's creation
    std::string text;  // without the line end
};

// The trace lines that one process sent, in order.
std::vector<TraceLine> SwitchTrace(const std::vector<DebugOutputMonitor::Message>& messages, DWORD processId);

// The first line that starts with the given text, or null.
const TraceLine* FindTraceLine(const std::vector<TraceLine>& trace, const std::string& start);
int CountTraceLines(const std::vector<TraceLine>& trace, const std::string& start);
// Where a line stands in the trace, for order checks.
long long TraceIndex(const std::vector<TraceLine>& trace, const TraceLine* line);
// "+<ms> <text>" a line, for failure messages and logs.
std::string TraceListing(const std::vector<TraceLine>& trace);
