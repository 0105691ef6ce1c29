#pragma once
#include "../framework/afxstr.h"
#include "../framework/win32_base.h"

// Everything the switch sequencer does to the world goes through here: the
// progress window carries it out on the platform, tests fake it.
//
// Trace lines. Each decision is reported as one line; the window sends it to
// the debugger output (OutputDebugStringW) as
//     ClassicSwitch +<ms> ms: <event>[: <details>]
// where <ms> counts from the window's creation. Names and paths are quoted
// with double quotes; the installer's parameters follow its file unquoted,
// exactly as they are passed. The events:
//     ending: "<exe name>" pass <n>         every process of that name is asked to end
//     process ended: <pid>                  (window) the request was accepted
//     process refused: <pid>                (window) the request failed
//     process not opened: <pid>             (window) no terminate access
//     settings removed: "<path>"
//     settings absent: "<path>"
//     settings kept: documents folder unknown
//     installer started: "<file>" <parameters>
//     installer missing: "<file>"
//     installer is a folder: "<file>"
//     installer ended: "<exe name>"
//     classic started: "<file>"
//     jump to the end: an edition runs again while installing
//     quitting in 500 ms: <reason>
//     quit: <reason>                        the program ends, exit code 0
// Reasons: "classic edition running", "installer missing", "edition running
// again", "deadline"; from the window, "window closed" (a close request
// destroyed it); from start-up, "<option> missing" (a name is empty, e.g.
// "--AppName missing") and "another switch for this folder runs": in both
// nothing is done. The phases change with "installer started" (closing done,
// installing), "installer ended" (waiting for the classic edition),
// "quitting in 500 ms" and "quit".
class SwitchPorts {
public:
    virtual ~SwitchPorts() = default;

    // Arming a pending timer replaces it and restarts its countdown.
    virtual void ArmTimer(UINT_PTR id, UINT periodMs) = 0;
    virtual void StopTimer(UINT_PTR id) = 0;

    virtual bool IsRunning(const wchar_t* exeName) = 0;
    virtual void EndProcesses(const wchar_t* exeName) = 0;

    // False when the user's documents folder cannot be found.
    virtual bool GetDocumentsFolder(CString& folder) = 0;
    virtual bool PathExists(const wchar_t* path) = 0;
    virtual void RemoveFile(const wchar_t* path) = 0;
    // INVALID_FILE_ATTRIBUTES when nothing exists at the path.
    virtual DWORD GetAttributes(const wchar_t* path) = 0;
    // Starts a program and does not wait; parameters may be null.
    virtual void ShellOpen(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters, int showCommand) = 0;

    virtual void PostQuit(int exitCode) = 0;
    // The switch gives up: the bar shows its end at once and its animation
    // stops for good.
    virtual void JumpBarToEnd() = 0;
    virtual void Trace(const CString& line) = 0;
};
