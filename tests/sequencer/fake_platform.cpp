#include "fake_platform.h"

#include "workflow/exe_name_match.h"

#include <ostream>

void PrintTo(const SwitchEvent& event, std::ostream* os)
{
    std::string narrow;
    for (wchar_t ch : event.what)
        narrow += ch < 128 ? static_cast<char>(ch) : '?';
    *os << "{" << event.ms << " ms, \"" << narrow << "\"}";
}

namespace {
std::wstring FileNameOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}
}  // namespace

void FakePlatform::AddProcess(const std::wstring& exeName, long long startMs, long long endMs, bool endable,
                              const std::wstring& imagePath)
{
    m_processes.push_back(Process{exeName, startMs, endMs, endable, imagePath});
}

void FakePlatform::FailStart(const std::wstring& file, INT_PTR code, DWORD error)
{
    m_failingStarts.push_back(FailingStart{file, code, error});
}

void FakePlatform::FailRemoval(const std::wstring& path, DWORD error)
{
    m_failingRemovals.emplace_back(path, error);
}

void FakePlatform::OnStart(const std::wstring& file, long long delayMs, long long runMs)
{
    m_startRules.push_back(StartRule{file, delayMs, runMs});
}

void FakePlatform::AddFile(const std::wstring& path, DWORD attributes, bool sticky)
{
    m_files.push_back(File{path, attributes, sticky, true});
}

FakePlatform::File* FakePlatform::FindFile(const std::wstring& path)
{
    for (File& file : m_files) {
        if (file.path == path)
            return &file;
    }
    return nullptr;
}

bool FakePlatform::FileExists(const std::wstring& path) const
{
    for (const File& file : m_files) {
        if (file.path == path)
            return file.present;
    }
    return false;
}

bool FakePlatform::Alive(const Process& process) const
{
    const long long now = m_timers.Now();
    return process.startMs <= now && now < process.endMs;
}

bool FakePlatform::IsAlive(const std::wstring& exeName) const
{
    const std::wstring lowered = AsciiLowerCase(exeName.c_str());
    for (const Process& process : m_processes) {
        if (Alive(process) && ExeNameMatches(lowered, process.exeName.c_str()))
            return true;
    }
    return false;
}

bool FakePlatform::IsRunning(const wchar_t* exeName)
{
    return exeName && IsAlive(exeName);
}

void FakePlatform::EndProcesses(const wchar_t* exeName)
{
    Record(L"end " + std::wstring(exeName));
    const std::wstring lowered = AsciiLowerCase(exeName);
    for (Process& process : m_processes) {
        if (process.endable && Alive(process) && ExeNameMatches(lowered, process.exeName.c_str()))
            process.endMs = m_timers.Now();
    }
}

bool FakePlatform::GetDocumentsFolder(CString& folder)
{
    if (!m_hasDocuments)
        return false;
    folder = m_documents.c_str();
    return true;
}

bool FakePlatform::PathExists(const wchar_t* path)
{
    m_pathsAsked.push_back(path);
    return FileExists(path);
}

RemoveResult FakePlatform::RemoveFile(const wchar_t* path)
{
    m_pathsAsked.push_back(path);
    Record(L"remove " + std::wstring(path));
    for (const auto& failing : m_failingRemovals) {
        if (failing.first == path)
            return RemoveResult{failing.second};
    }
    File* file = FindFile(path);
    if (!file || !file->present)
        return RemoveResult{ERROR_FILE_NOT_FOUND};
    if (!file->sticky)
        file->present = false;
    return RemoveResult{ERROR_SUCCESS};
}

DWORD FakePlatform::GetAttributes(const wchar_t* path)
{
    const File* file = FindFile(path);
    return file && file->present ? file->attributes : INVALID_FILE_ATTRIBUTES;
}

StartResult FakePlatform::ShellOpen(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                    const wchar_t* folder, int showCommand)
{
    Record(L"start " + std::wstring(file) + L" | " + (parameters ? parameters : L"(none)") + L" | " + verb + L" " +
           std::to_wstring(showCommand) + (folder ? L" | in " + std::wstring(folder) : L""));
    for (const FailingStart& failing : m_failingStarts) {
        if (failing.file == file)
            return StartResult{failing.code, failing.error};
    }
    for (const StartRule& rule : m_startRules) {
        if (rule.file != file || rule.delayMs == kForever)
            continue;
        const long long start = m_timers.Now() + rule.delayMs;
        m_processes.push_back(
            Process{FileNameOf(file), start, rule.runMs == kForever ? kForever : start + rule.runMs, true, file});
    }
    return StartResult{42};
}

bool FakePlatform::ReadImagePath(const wchar_t* exeName, CString& path)
{
    const std::wstring lowered = AsciiLowerCase(exeName);
    for (const Process& process : m_processes) {
        if (Alive(process) && !process.imagePath.empty() && ExeNameMatches(lowered, process.exeName.c_str())) {
            path = process.imagePath.c_str();
            return true;
        }
    }
    return false;
}

void FakePlatform::PostQuit(int exitCode)
{
    Record(L"quit " + std::to_wstring(exitCode));
    if (!m_quitPosted) {
        m_quitPosted = true;
        m_quitMs = m_timers.Now();
        m_exitCode = exitCode;
    }
}

void FakePlatform::JumpBarToEnd()
{
    ++m_barJumps;
    Record(L"bar to the end");
    if (m_onBarJump)
        m_onBarJump();
}
