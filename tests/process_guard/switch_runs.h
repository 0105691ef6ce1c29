#pragma once
#include "framework/noncopyable.h"
#include "framework/win32_base.h"

#include <string>
#include <vector>

// A fresh folder under the temporary folder, removed with its files.
class ScratchFolder : private CNoCopy {
public:
    explicit ScratchFolder(const wchar_t* tag);
    ~ScratchFolder();

    const std::wstring& Path() const { return m_path; }
    // Creates a subfolder and returns its path.
    std::wstring Subfolder(const wchar_t* name) const;

private:
    std::wstring m_path;
};

// The command line of a switch with all five names, installer and folder as given.
std::wstring SwitchCommandLine(const std::wstring& program, const std::wstring& installerFolder,
                               const std::wstring& installerName, const std::wstring& installationFolder);

// The visible top-level window of the process at its final size (420 by 114
// at scale 1), or null. A switch only reaches that size once start-up has
// placed and shown its window.
HWND FindPlacedWindow(DWORD processId);

// Waits up to timeoutMs for the process's placed window; null when none came.
HWND WaitForPlacedWindow(DWORD processId, HANDLE process, DWORD timeoutMs);

// Names of the files in a folder that end with the given suffix.
std::vector<std::wstring> FilesEndingWith(const std::wstring& folder, const std::wstring& suffix);

bool CopyInto(const std::wstring& source, const std::wstring& folder, const wchar_t* name);
