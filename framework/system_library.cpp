#include "system_library.h"

HMODULE LoadSystemLibrary(const wchar_t* fileName)
{
    return ::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

void RestrictDllSearchToSystemFolder()
{
    // Looked up by name: Windows 7 has this only with an update installed.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto setDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirectories)
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The working folder must never be searched, whatever the system.
    ::SetDllDirectoryW(L"");
}
