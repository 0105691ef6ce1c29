#include "settings_file.h"

#include "text_files.h"

#include "framework/win32_base.h"

#include <shlobj.h>

std::wstring SettingsFilePath()
{
    wchar_t documents[MAX_PATH];
    if (::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents) != S_OK)
        return std::wstring();
    return std::wstring(documents) + L"\\Ovrillo\\TempFile_S.ini";
}

bool CreateSettingsFile()
{
    const std::wstring path = SettingsFilePath();
    return !path.empty() && CreateFolders(path.substr(0, path.find_last_of(L'\\'))) &&
           WriteTextFile(path, "[Settings]\n") && PathExists(path);
}
