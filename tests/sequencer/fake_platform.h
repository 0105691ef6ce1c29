#pragma once
#include "fake_timer_queue.h"
#include "workflow/switch_ports.h"

#include <climits>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Something the switch did that a run is judged by, at a simulated time.
struct SwitchEvent {
    long long ms;
    std::wstring what;
    bool operator==(const SwitchEvent& other) const { return ms == other.ms && what == other.what; }
};
void PrintTo(const SwitchEvent& event, std::ostream* os);

constexpr long long kForever = LLONG_MAX;

// The platform as the switch sees it: processes that come and go on the
// simulated clock, a documents folder, files, program starts, the quit.
class FakePlatform : public SwitchPorts {
public:
    explicit FakePlatform(FakeTimerQueue& timers) : m_timers(timers) {}

    // A process alive from startMs until endMs, or until asked to end when
    // it is endable. imagePath is the full path of its executable; empty:
    // the path cannot be read.
    void AddProcess(const std::wstring& exeName, long long startMs, long long endMs, bool endable,
                    const std::wstring& imagePath = L"");
    // What a start of this file brings about: a process of that file's name
    // that runs for runMs, starting after delayMs (kForever: never starts).
    void OnStart(const std::wstring& file, long long delayMs, long long runMs);
    // Starts of this file fail with that answer (at most 32) and that
    // system error code (0: the system gave none).
    void FailStart(const std::wstring& file, INT_PTR code, DWORD error);
    // Removals of this file fail with that system error code.
    void FailRemoval(const std::wstring& path, DWORD error);

    // Null: the folder cannot be found.
    void SetDocumentsFolder(const wchar_t* folder)
    {
        m_documents = folder ? folder : L"";
        m_hasDocuments = folder != nullptr;
    }
    // A file that exists; when sticky, it is back right after every removal
    // (a running mini edition writes its settings again).
    void AddFile(const std::wstring& path, DWORD attributes, bool sticky = false);
    bool FileExists(const std::wstring& path) const;

    const std::vector<SwitchEvent>& Events() const { return m_events; }
    const std::vector<std::wstring>& TraceLines() const { return m_trace; }
    const std::vector<std::wstring>& PathsAsked() const { return m_pathsAsked; }
    bool QuitPosted() const { return m_quitPosted; }
    long long QuitMs() const { return m_quitMs; }
    int ExitCode() const { return m_exitCode; }
    int BarJumps() const { return m_barJumps; }
    // What the window does when the switch jumps the bar to its end.
    void OnBarJump(std::function<void()> jump) { m_onBarJump = std::move(jump); }
    bool IsAlive(const std::wstring& exeName) const;

    // SwitchPorts
    void ArmTimer(UINT_PTR id, UINT periodMs) override { m_timers.Arm(id, periodMs); }
    void StopTimer(UINT_PTR id) override { m_timers.Stop(id); }
    bool IsRunning(const wchar_t* exeName) override;
    void EndProcesses(const wchar_t* exeName) override;
    bool GetDocumentsFolder(CString& folder) override;
    bool PathExists(const wchar_t* path) override;
    RemoveResult RemoveFile(const wchar_t* path) override;
    DWORD GetAttributes(const wchar_t* path) override;
    StartResult ShellOpen(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters, const wchar_t* folder,
                          int showCommand) override;
    bool ReadImagePath(const wchar_t* exeName, CString& path) override;
    void PostQuit(int exitCode) override;
    void JumpBarToEnd() override;
    void Trace(const CString& line) override { m_trace.push_back(line.Str()); }
    // "<text of error n>", so that a test sees which code was explained.
    CString ErrorText(DWORD error) override { return L"<text of error " + DecimalString(error) + L">"; }

private:
    struct Process {
        std::wstring exeName;
        long long startMs;
        long long endMs;
        bool endable;
        std::wstring imagePath;
    };
    struct StartRule {
        std::wstring file;
        long long delayMs;
        long long runMs;
    };
    struct File {
        std::wstring path;
        DWORD attributes;
        bool sticky;
        bool present;
    };
    bool Alive(const Process& process) const;
    void Record(std::wstring what) { m_events.push_back(SwitchEvent{m_timers.Now(), std::move(what)}); }
    File* FindFile(const std::wstring& path);

    FakeTimerQueue& m_timers;
    std::vector<Process> m_processes;
    std::vector<StartRule> m_startRules;
    struct FailingStart {
        std::wstring file;
        INT_PTR code;
        DWORD error;
    };
    std::vector<FailingStart> m_failingStarts;
    std::vector<std::pair<std::wstring, DWORD>> m_failingRemovals;
    std::vector<File> m_files;
    std::wstring m_documents;
    bool m_hasDocuments = false;
    std::vector<SwitchEvent> m_events;
    std::vector<std::wstring> m_trace;
    std::vector<std::wstring> m_pathsAsked;
    bool m_quitPosted = false;
    long long m_quitMs = -1;
    int m_exitCode = -1;
    int m_barJumps = 0;
    std::function<void()> m_onBarJump;
};
