#pragma once
#include "framework/noncopyable.h"
#include "framework/win32_base.h"

// A process of this session found by executable name, held open so that its
// start and end times can be read after it has gone.
class WatchedProcess : private CNoCopy {
public:
    // The first process of that name in a fresh snapshot, if any.
    explicit WatchedProcess(const wchar_t* exeName);
    ~WatchedProcess();

    bool Found() const { return m_process != nullptr; }
    // Wall times in milliseconds; 0 when unknown or, for the end, still running.
    double StartedMs() const;
    double EndedMs() const;
    void Terminate();

private:
    HANDLE m_process = nullptr;
};

// Wall time at which a process ended, 0 while it runs.
double ProcessEndedMs(HANDLE process);
