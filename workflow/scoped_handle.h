#pragma once
#include "../framework/noncopyable.h"
#include "../framework/win32_base.h"

// Owns one kernel handle and closes it on every path. Both of the platform's
// "no handle" values (null and INVALID_HANDLE_VALUE) count as empty.
class ScopedHandle : private CNoCopy {
public:
    explicit ScopedHandle(HANDLE handle) : m_handle(handle) {}
    ~ScopedHandle()
    {
        if (Valid())
            ::CloseHandle(m_handle);
    }

    bool Valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};
