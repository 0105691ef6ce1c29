#include "switch_lock.h"

CSwitchLock::~CSwitchLock()
{
    Release();
}

CSwitchLock::Outcome CSwitchLock::Acquire(const wchar_t* name)
{
    Release();
    // The lock is the mutex's existence, not its ownership: whoever creates
    // it first holds it until its last handle closes with its process.
    HANDLE handle = ::CreateMutexW(nullptr, FALSE, name);
    if (!handle)
        return Outcome::Unavailable;  // e.g. another user's object of that name
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(handle);
        return Outcome::HeldByAnother;
    }
    m_handle = handle;
    return Outcome::Acquired;
}

void CSwitchLock::Release()
{
    if (m_handle) {
        ::CloseHandle(m_handle);
        m_handle = nullptr;
    }
}
