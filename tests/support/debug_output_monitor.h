#pragma once
#include "framework/noncopyable.h"
#include "framework/win32_base.h"

#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Collects what other processes send with OutputDebugString while no
// debugger is attached, through the system's shared DBWIN buffer, as a
// debug-output viewer does. Only one monitor can listen at a time.
class DebugOutputMonitor : private CNoCopy {
public:
    struct Message {
        DWORD processId;
        std::string text;  // as sent, in the system's ANSI code page
        FILETIME arrived;  // wall time at which it reached the monitor
    };

    DebugOutputMonitor();
    ~DebugOutputMonitor();

    bool Listening() const { return m_listening; }
    std::vector<Message> Messages() const;

private:
    void Listen();

    HANDLE m_mapping = nullptr;
    HANDLE m_bufferReady = nullptr;
    HANDLE m_dataReady = nullptr;
    HANDLE m_stop = nullptr;
    const char* m_view = nullptr;
    bool m_listening = false;
    mutable std::mutex m_lock;
    std::vector<Message> m_messages;
    std::thread m_thread;
};
