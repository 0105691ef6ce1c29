#include "debug_output_monitor.h"

#include <cstring>

namespace {
constexpr DWORD kBufferSize = 4096;  // a process id, then the text, NUL-terminated
}

DebugOutputMonitor::DebugOutputMonitor()
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

DebugOutputMonitor::~DebugOutputMonitor()
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

std::vector<DebugOutputMonitor::Message> DebugOutputMonitor::Messages() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_messages;
}

void DebugOutputMonitor::Listen()
{
    const HANDLE waits[] = {m_dataReady, m_stop};
    for (;;) {
        ::SetEvent(m_bufferReady);
        if (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0)
            return;
        FILETIME arrived;
        ::GetSystemTimePreciseAsFileTime(&arrived);
        DWORD processId = 0;
        std::memcpy(&processId, m_view, sizeof(processId));
        const char* text = m_view + sizeof(DWORD);
        const std::string message(text, strnlen(text, kBufferSize - sizeof(DWORD)));
        std::lock_guard<std::mutex> guard(m_lock);
        m_messages.push_back(Message{processId, message, arrived});
    }
}
