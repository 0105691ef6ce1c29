#include "trace_listener.h"

#include "bench_clock.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {
constexpr DWORD kBufferSize = 4096;  // a process id, then the text, NUL-terminated
constexpr char kPrefix[] = "ClassicSwitch +";
constexpr char kUnit[] = " ms: ";

bool ParseLine(DWORD processId, double arrivedMs, const std::string& text, TraceListener::Line& line)
{
    if (text.compare(0, std::strlen(kPrefix), kPrefix) != 0)
        return false;
    const size_t unit = text.find(kUnit);
    if (unit == std::string::npos)
        return false;
    std::string event = text.substr(unit + std::strlen(kUnit));
    while (!event.empty() && (event.back() == '\n' || event.back() == '\r'))
        event.pop_back();
    line = TraceListener::Line{processId, arrivedMs, std::atof(text.c_str() + std::strlen(kPrefix)), event};
    return true;
}
}  // namespace

TraceListener::TraceListener()
{
    m_bufferReady = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
    m_dataReady = ::CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
    m_stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferSize, L"DBWIN_BUFFER");
    if (m_mapping)
        m_view = static_cast<const char*>(::MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, kBufferSize));
    m_listening = m_bufferReady && m_dataReady && m_stop && m_view;
    if (m_listening)
        m_thread = std::thread([this] { Listen(); });
}

TraceListener::~TraceListener()
{
    if (m_thread.joinable()) {
        ::SetEvent(m_stop);
        m_thread.join();
    }
    if (m_view)
        ::UnmapViewOfFile(m_view);
    for (HANDLE handle : {m_mapping, m_bufferReady, m_dataReady, m_stop}) {
        if (handle)
            ::CloseHandle(handle);
    }
}

std::vector<TraceListener::Line> TraceListener::Lines(DWORD processId) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<Line> lines;
    for (const Line& line : m_lines) {
        if (line.processId == processId)
            lines.push_back(line);
    }
    return lines;
}

void TraceListener::Listen()
{
    const HANDLE waits[] = {m_dataReady, m_stop};
    for (;;) {
        ::SetEvent(m_bufferReady);
        if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0)
            return;
        const double arrivedMs = WallNowMs();
        DWORD processId = 0;
        std::memcpy(&processId, m_view, sizeof(processId));
        const char* text = m_view + sizeof(DWORD);
        const std::string message(text, strnlen(text, kBufferSize - sizeof(DWORD)));
        Line line;
        if (!ParseLine(processId, arrivedMs, message, line))
            continue;
        std::lock_guard<std::mutex> guard(m_lock);
        m_lines.push_back(line);
    }
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
