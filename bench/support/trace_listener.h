#pragma once
#include "framework/noncopyable.h"
#include "framework/win32_base.h"

#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Reads the program's trace ("ClassicSwitch +<ms> ms: <event>") from the
// debugger output, as a debug-output viewer does, and stamps each line with
// the wall time at which it arrived. A line's arrival minus its <ms> is the
// wall time of the window's creation, which puts the trace on the same time
// line as process starts and ends. Only one listener can run at a time.
class TraceListener : private CNoCopy {
public:
    struct Line {
        DWORD processId;
        double arrivedMs;  // wall time
        double elapsedMs;  // <ms>: since the window's creation
        std::string event;
    };

    TraceListener();
    ~TraceListener();

    bool Listening() const { return m_listening; }
    std::vector<Line> Lines(DWORD processId) const;

private:
    void Listen();

    HANDLE m_mapping = nullptr;
    HANDLE m_bufferReady = nullptr;
    HANDLE m_dataReady = nullptr;
    HANDLE m_stop = nullptr;
    const char* m_view = nullptr;
    bool m_listening = false;
    mutable std::mutex m_lock;
    std::vector<Line> m_lines;
    std::thread m_thread;
};

// The first line whose event starts with the text, or null.
const TraceListener::Line* FindEvent(const std::vector<TraceListener::Line>& lines, const char* start);
// The wall time of the window's creation: the earliest arrival minus elapsed
// time, the line that waited least. 0 without lines.
double CreationWallMs(const std::vector<TraceListener::Line>& lines);
