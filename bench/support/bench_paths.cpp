#include "bench_paths.h"

#include "framework/win32_base.h"
#include "support/test_paths.h"

#include <shellapi.h>
#include <shlobj.h>

std::wstring BenchProgramPath(const wchar_t* name)
{
    return WindowsPathFromUnix(CS_BENCH_PROGRAMS_DIR) + L"\\" + name;
}

std::wstring FreshWorkFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + name;
    // SHFileOperation wants a list ending in two NULs.
    std::wstring doubleNul = folder + L'\0';
    SHFILEOPSTRUCTW removal{};
    removal.wFunc = FO_DELETE;
    removal.pFrom = doubleNul.c_str();
    removal.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&removal);
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return folder;
}
