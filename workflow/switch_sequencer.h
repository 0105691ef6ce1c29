#pragma once
#include "../framework/afxstr.h"
#include "switch_ports.h"

// The switch, as a polling state machine on the window's timers: close the
// mini edition and the gallery program (removing the product's settings
// file before each end of the mini edition), start the classic edition's
// installer silently, wait for it to go, start Korvane.exe from the
// installation folder, wait for it to run, and quit. Each tick tests, acts
// and arms the next tick; nothing waits. A run that cannot finish gives the
// user back the mini edition it ended, started again from where it ran.

// The command-line values the switch works with.
struct SwitchNames {
    const CString& tempDir;      // folder of the installer
    const CString& appName;      // installer file, also its process name
    const CString& miniName;     // the mini edition's executable name
    const CString& galleryName;  // the gallery program's executable name
    const CString& localPath;    // the installation folder
};

// Why the program is about to end; only the trace reads it.
enum class QuitReason { Deadline, InstallerMissing, ClassicStartFailed, EditionRunningAgain, ClassicRunning };

// The switch's state. None of it is ever reset.
struct SwitchState {
    bool& installerLaunched;  // the start of the installer has been attempted
    int& miniKillCount;       // passes that ended the mini edition
    int& galleryKillCount;    // passes that ended the gallery program
    bool& classicLaunched;    // Korvane.exe has been started
    QuitReason& quitReason;
    CString& miniPath;     // where the first mini edition ended ran from; empty until read
    bool& restoreDecided;  // the run's end has settled whether the mini edition comes back
};

constexpr UINT kSwitchPeriodMs = 500;
// Each edition holds the installer back while its count is at most this,
// so for six passes.
constexpr int kMaxPassesHoldingBack = 5;
constexpr int kShowCommand = 64;

void OnPrepareTick(const SwitchNames& names, SwitchState& state, SwitchPorts& ports);
// Ends the program: the deadline, or a quit armed by the switch.
void OnQuitTick(const SwitchNames& names, SwitchState& state, SwitchPorts& ports);
void OnLaunchTick(const SwitchNames& names, SwitchState& state, SwitchPorts& ports);
// A close request destroyed the window and the program ends with it. The
// system may be shutting down, so nothing is started.
void OnWindowClosed(SwitchState& state, SwitchPorts& ports);

// The installer's file: TempDir, a backslash, AppName, with every "/" made a
// backslash. Nothing is trimmed or quoted.
CString InstallerPath(const CString& tempDir, const CString& appName);

// The folder that holds a file given by its full path, without a trailing
// separator except at a drive's root ("C:\"); empty when the path names no
// folder.
CString FolderOfPath(const CString& path);
