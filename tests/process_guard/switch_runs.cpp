#include "switch_runs.h"

namespace {

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchPlacedWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    RECT rect{};
    if (owner != search->processId || !::IsWindowVisible(window) || !::GetWindowRect(window, &rect))
        return TRUE;
    if (rect.right - rect.left == 420 && rect.bottom - rect.top == 114) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

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
    RemoveTree(m_path);
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
           L"\" --MiniName cs-absent-mini.exe --GalleryName cs-absent-gallery.exe --LocalPath \"" +
           installationFolder + L"\"";
}

HWND FindPlacedWindow(DWORD processId)
{
    WindowSearch search{processId, nullptr};
    ::EnumWindows(&MatchPlacedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForPlacedWindow(DWORD processId, HANDLE process, DWORD timeoutMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND window = FindPlacedWindow(processId))
            return window;
        if (::GetTickCount64() >= deadline || ::WaitForSingleObject(process, 20) == WAIT_OBJECT_0)
            return FindPlacedWindow(processId);
    }
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
