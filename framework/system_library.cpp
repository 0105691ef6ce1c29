#include "system_library.h"

HMODULE LoadSystemLibrary(const wchar_t* fileName)
{
    if (HMODULE module = ::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    // Windows 7 without its loader update rejects the flag. The full path of
    // the system folder's copy is just as safe there: the DLL's own
    // dependencies are then searched from that folder first.
    wchar_t path[MAX_PATH];
    const UINT folderLength = ::GetSystemDirectoryW(path, MAX_PATH);
    const size_t nameLength = ::lstrlenW(fileName);
    if (folderLength == 0 || folderLength + 1 + nameLength >= MAX_PATH)
        return nullptr;
    path[folderLength] = L'\\';
    ::lstrcpyW(path + folderLength + 1, fileName);
    return ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void RestrictDllSearchToSystemFolder()
{
    // Looked up by name: Windows 7 has this only with an update installed.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirectories)
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The working folder must never be searched, whatever the system.
    ::SetDllDirectoryW(L"");
}
