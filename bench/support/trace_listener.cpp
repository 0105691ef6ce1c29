#include "trace_listener.h"

#include "bench_clock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
constexpr char kElapsed[] = " +";
constexpr char kUnit[] = " ms: ";

// "<name> +<ms> ms: <event>"; the name is the program's, "ClassicSwitch",
// or a baseline's that speaks the same format.
bool ParseLine(DWORD processId, double arrivedMs, const std::string& text, TraceListener::Line& line)
{
    const size_t elapsed = text.find(kElapsed);
    if (elapsed == std::string::npos || elapsed == 0)
        return false;
    const size_t unit = text.find(kUnit, elapsed);
    if (unit == std::string::npos)
        return false;
    std::string event = text.substr(unit + std::strlen(kUnit));
    while (!event.empty() && (event.back() == '\n' || event.back() == '\r'))
        event.pop_back();
    line = TraceListener::Line{processId, arrivedMs, std::atof(text.c_str() + elapsed + std::strlen(kElapsed)), event};
    return true;
}
}  // namespace

std::vector<TraceListener::Line> TraceListener::Lines(DWORD processId) const
{
    std::vector<Line> lines;
    for (const DebugOutputMonitor::Message& message : m_monitor.Messages()) {
        Line line;
        if (message.processId == processId && ParseLine(processId, FileTimeToMs(message.arrived), message.text, line))
            lines.push_back(line);
    }
    return lines;
}

const TraceListener::Line* FindEvent(const std::vector<TraceListener::Line>& lines, const char* start)
{
    for (const TraceListener::Line& line : lines) {
        if (line.event.compare(0, std::strlen(start), start) == 0)
            return &line;
    }
    return nullptr;
}

double CreationWallMs(const std::vector<TraceListener::Line>& lines)
{
    double creation = 0.0;
    for (const TraceListener::Line& line : lines) {
        const double candidate = line.arrivedMs - line.elapsedMs;
        creation = creation == 0.0 ? candidate : std::min(creation, candidate);
    }
    return creation;
}
