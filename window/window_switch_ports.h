#pragma once
#include "../workflow/switch_ports.h"

class CCustomWindow;

// The switch's effects carried out on the platform for the progress window.
// Each call is one platform operation; the decisions stay in the sequencer.
class CWindowSwitchPorts : public SwitchPorts {
public:
    explicit CWindowSwitchPorts(CCustomWindow& window) : m_window(window) {}

    void ArmTimer(UINT_PTR id, UINT periodMs) override;
    void StopTimer(UINT_PTR id) override;
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
    // Sends "ClassicSwitch +<ms> ms: <line>" to the debugger output, <ms>
    // counted from the window's creation, and writes the line to the run's
    // log when there is one.
    void Trace(const CString& line) override;
    CString ErrorText(DWORD error) override;

private:
    CCustomWindow& m_window;
};
