#include "switch_trace.h"

#include <cstdlib>

std::vector<TraceLine> SwitchTrace(const std::vector<DebugOutputMonitor::Message>& messages, DWORD processId)
{
    const std::string prefix = "ClassicSwitch +";
    const std::string unit = " ms: ";
    std::vector<TraceLine> lines;
    for (const DebugOutputMonitor::Message& message : messages) {
        if (message.processId != processId || message.text.compare(0, prefix.size(), prefix) != 0)
            continue;
        const size_t textStart = message.text.find(unit);
        if (textStart == std::string::npos)
            continue;
        std::string text = message.text.substr(textStart + unit.size());
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        lines.push_back(TraceLine{std::atoll(message.text.c_str() + prefix.size()), text});
    }
    return lines;
}

const TraceLine* FindTraceLine(const std::vector<TraceLine>& trace, const std::string& start)
{
    for (const TraceLine& line : trace) {
        if (line.text.compare(0, start.size(), start) == 0)
            return &line;
    }
    return nullptr;
}

int CountTraceLines(const std::vector<TraceLine>& trace, const std::string& start)
{
    int count = 0;
    for (const TraceLine& line : trace)
        count += line.text.compare(0, start.size(), start) == 0 ? 1 : 0;
    return count;
}

long long TraceIndex(const std::vector<TraceLine>& trace, const TraceLine* line)
{
    return line ? line - trace.data() : -1;
}

std::string TraceListing(const std::vector<TraceLine>& trace)
{
    std::string listing;
    for (const TraceLine& line : trace)
        listing += "+" + std::to_string(line.ms) + " " + line.text + "\n";
    return listing;
}
