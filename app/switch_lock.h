#pragma once
#include "../framework/noncopyable.h"
#include "../framework/win32_base.h"

// Owner of the named lock that keeps a second switch out of an installation
// folder while one runs. The lock is held from a successful Acquire until
// the owner is destroyed, which for the program is the end of the process.
class CSwitchLock : private CNoCopy {
public:
    enum class Outcome {
        Acquired,       // this process is now the one switch for the folder
        HeldByAnother,  // another process holds it: this one must not switch
        Unavailable,    // the system refused the name: no switch either
    };

    constexpr CSwitchLock() = default;
    ~CSwitchLock();

    Outcome Acquire(const wchar_t* name);

private:
    void Release();

    HANDLE m_handle = nullptr;
};
