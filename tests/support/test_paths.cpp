#include "test_paths.h"

#include "framework/win32_base.h"

std::wstring WindowsPathFromUnix(const char* unixPath)
{
    std::string path(unixPath);
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& ch : path) {
        if (ch == '/')
            ch = '\\';
    }
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length - 1 : 0), L'\0');
    if (length > 1)
        ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, &wide[0], length);
    return wide;
}

std::wstring ProgramUnderTestPath()
{
    return WindowsPathFromUnix(CS_PROGRAM_PATH);
}

std::wstring TestProgramPath(const wchar_t* name)
{
    return WindowsPathFromUnix(CS_TEST_PROGRAMS_DIR) + L"\\" + name;
}
