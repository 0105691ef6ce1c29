#pragma once
#include "../framework/afxstr.h"
#include "../framework/win32_base.h"

// What a program start answered, as ShellExecuteW gives it: a value above 32
// when the program was started, else an error value (2: file not found);
// error is then the system's error code for the failure (0 when it gave none).
struct StartResult {
    INT_PTR code = 0;
    DWORD error = 0;
    bool Started() const { return code > 32; }
};

// What a file removal answered: the system's error code, 0 when removed.
struct RemoveResult {
    DWORD error = ERROR_SUCCESS;
    bool Removed() const { return error == ERROR_SUCCESS; }
};

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
//     settings not removed: "<path>" <error>
//     settings absent: "<path>"
//     settings kept: documents folder unknown
//     installer started: "<file>" <parameters> result <n>
//     installer start failed: "<file>" <parameters> result <n>[ <error>]
//     installer missing: "<file>"
//     installer is a folder: "<file>"
//     installer ended: "<exe name>"
//     classic started: "<file>" result <n>
//     classic start failed: "<file>" result <n>[ <error>]
//     jump to the end: an edition runs again while installing
//     mini edition path: "<path>"           where the mini edition ran from: the
//                                           first path read before ending it
//     quitting in 500 ms: <reason>
//     mini edition restored: "<path>" result <n>
//     mini edition restore failed: "<path>" result <n>[ <error>]
//     mini edition not restored: <why>
//     quit: <reason>                        the program ends, exit code 0
//     log not written: <why>                (window, start-up) the run's log
//                                           file could not be made or written;
//                                           it is left for the rest of the run
// <n> is what the program start answered (ShellExecuteW: above 32 when the
// program was started, else the error value). <error> is "error <code>:
// <text>", the system's error code and its own text for it on one line; a
// failed start has it when the system gave a code. No line says "started"
// or "removed" unless the call said so; the switch's course does not depend
// on these answers, except that a failed start of Korvane.exe ends the run
// 500 ms later. Reasons: "classic edition running",
// "installer missing", "classic edition start failed", "edition running
// again", "deadline"; from the window, "window closed" (a close request
// destroyed it); from start-up, "<option> missing" (a name is empty, e.g.
// "--AppName missing") and "another switch for this folder runs": in both
// nothing is done. The phases change with "installer started" or "installer
// start failed" (closing done, installing), "installer ended" (waiting for the classic edition),
// "quitting in 500 ms" and "quit".
//
// A run that ended a mini edition says, just before its "quit" line, whether
// it started that edition again from where it ran ("mini edition restored"
// or "... restore failed") or why not: "switch succeeded", "edition running
// again", "no path read", "installer still running", "mini edition running",
// "window closed". A run that ended no mini edition writes none of these.
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
    virtual RemoveResult RemoveFile(const wchar_t* path) = 0;
    // INVALID_FILE_ATTRIBUTES when nothing exists at the path.
    virtual DWORD GetAttributes(const wchar_t* path) = 0;
    // Starts a program and does not wait; parameters and folder may be null
    // (a null folder: the program inherits this one's working folder).
    virtual StartResult ShellOpen(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                  const wchar_t* folder, int showCommand) = 0;
    // The full path of the executable of a running process of that name,
    // the first one whose path can be read; false when none can be.
    virtual bool ReadImagePath(const wchar_t* exeName, CString& path) = 0;

    virtual void PostQuit(int exitCode) = 0;
    // The switch gives up: the bar shows its end at once and its animation
    // stops for good.
    virtual void JumpBarToEnd() = 0;
    virtual void Trace(const CString& line) = 0;
    // The system's own text for an error code, on one line.
    virtual CString ErrorText(DWORD error) = 0;
};
