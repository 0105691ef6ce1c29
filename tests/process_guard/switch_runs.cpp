#include "switch_runs.h"

#include "support/process_window.h"
#include "support/text_files.h"

ScratchFolder::ScratchFolder(const wchar_t* tag)
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(temp, length);
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    for (unsigned attempt = 0;; ++attempt) {
        m_path = base + L"\\cs-" + tag + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(attempt);
        if (::CreateDirectoryW(m_path.c_str(), nullptr) || attempt > 100)
            break;
    }
}

ScratchFolder::~ScratchFolder()
{
    DeleteTree(m_path);
}

std::wstring ScratchFolder::Subfolder(const wchar_t* name) const
{
    const std::wstring path = m_path + L"\\" + name;
    ::CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

std::wstring SwitchCommandLine(const std::wstring& program, const std::wstring& installerFolder,
                               const std::wstring& installerName, const std::wstring& installationFolder)
{
    return L"\"" + program + L"\" --TempDir \"" + installerFolder + L"\" --AppName \"" + installerName +
           L"\" --MiniName cs-absent-mini.exe --GalleryName cs-absent-gallery.exe --LocalPath \"" + installationFolder +
           L"\"";
}

HWND FindPlacedWindow(DWORD processId)
{
    return WaitForPlacedWindow(processId, nullptr, 420, 114, 0);
}

HWND WaitForPlacedWindow(DWORD processId, HANDLE process, DWORD timeoutMs)
{
    return ::WaitForPlacedWindow(processId, process, 420, 114, timeoutMs);
}

std::vector<std::wstring> FilesEndingWith(const std::wstring& folder, const std::wstring& suffix)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = data.cFileName;
        if (name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            names.push_back(name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

bool CopyInto(const std::wstring& source, const std::wstring& folder, const wchar_t* name)
{
    return ::CopyFileW(source.c_str(), (folder + L"\\" + name).c_str(), FALSE) != FALSE;
}
