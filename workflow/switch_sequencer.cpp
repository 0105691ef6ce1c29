#include "switch_sequencer.h"

#include "switch_timer_ids.h"

#include <string>

namespace {

constexpr wchar_t kSettingsFileSuffix[] = L"\\Ovrillo\\TempFile_S.ini";
constexpr wchar_t kInstallerParameters[] = L"/S /D=";
constexpr wchar_t kClassicExeName[] = L"Korvane.exe";
constexpr wchar_t kOpenVerb[] = L"open";

bool Qualifies(bool running, int passes)
{
    return running && passes <= kMaxPassesHoldingBack;
}

// "<event>"<name>"": a trace line about a path or an executable name.
CString NamedLine(const wchar_t* event, const CString& name)
{
    CString line(event);
    line += L'"';
    line += name;
    line += L'"';
    return line;
}

CString EventLine(const wchar_t* event, const wchar_t* detail)
{
    CString line(event);
    line += detail;
    return line;
}

const wchar_t* ReasonText(QuitReason reason)
{
    switch (reason) {
    case QuitReason::InstallerMissing:
        return L"installer missing";
    case QuitReason::ClassicStartFailed:
        return L"classic edition start failed";
    case QuitReason::EditionRunningAgain:
        return L"edition running again";
    case QuitReason::ClassicRunning:
        return L"classic edition running";
    case QuitReason::Deadline:
        break;
    }
    return L"deadline";
}

// Appends " error <code>: <the system's text>", for a call that failed.
void AppendError(CString& line, DWORD error, SwitchPorts& ports)
{
    line += L" error ";
    line += DecimalString(error);
    line += L": ";
    line += ports.ErrorText(error);
}

// Appends " result <n>" as ShellExecuteW answered (never negative in
// practice, but the trace must not lie if it were), and for a failed start
// the system's error, when it gave one.
void AppendStartOutcome(CString& line, StartResult result, SwitchPorts& ports)
{
    line += L" result ";
    line += SignedDecimalString(result.code);
    if (!result.Started() && result.error != ERROR_SUCCESS)
        AppendError(line, result.error, ports);
}

void QuitSoon(QuitReason reason, SwitchState& state, SwitchPorts& ports)
{
    state.quitReason = reason;
    ports.Trace(EventLine(L"quitting in 500 ms: ", ReasonText(reason)));
    ports.ArmTimer(TIMER_QUIT, kSwitchPeriodMs);
}

// Without a documents folder there is no settings file to find: the bare
// suffix would name a file at the root of the current drive, which is not
// the product's.
void RemoveSettingsFile(SwitchPorts& ports)
{
    CString documents;
    if (!ports.GetDocumentsFolder(documents) || documents.IsEmpty()) {
        ports.Trace(L"settings kept: documents folder unknown");
        return;
    }
    const CString path = documents + kSettingsFileSuffix;
    if (!ports.PathExists(path)) {
        ports.Trace(NamedLine(L"settings absent: ", path));
        return;
    }
    const RemoveResult result = ports.RemoveFile(path);
    CString line = NamedLine(result.Removed() ? L"settings removed: " : L"settings not removed: ", path);
    if (!result.Removed())
        AppendError(line, result.error, ports);
    ports.Trace(line);
}

// Read before the first end, while the process still exists. The first path
// read is the one given back: a copy that turns up later may have been
// started by something else, from somewhere else.
void RememberMiniPath(const CString& miniName, SwitchState& state, SwitchPorts& ports)
{
    if (!state.miniPath.IsEmpty())
        return;
    CString path;
    if (!ports.ReadImagePath(miniName, path) || path.IsEmpty())
        return;
    state.miniPath = path;
    ports.Trace(NamedLine(L"mini edition path: ", path));
}

void EndEdition(const CString& exeName, int& passes, SwitchPorts& ports)
{
    ++passes;
    CString line = NamedLine(L"ending: ", exeName);
    line += L" pass ";
    line += DecimalString(passes);
    ports.Trace(line);
    ports.EndProcesses(exeName);
}

void JumpToEnd(SwitchState& state, SwitchPorts& ports)
{
    ports.Trace(L"jump to the end: an edition runs again while installing");
    ports.JumpBarToEnd();
    QuitSoon(QuitReason::EditionRunningAgain, state, ports);
}

void StartInstaller(const SwitchNames& names, SwitchState& state, SwitchPorts& ports)
{
    state.installerLaunched = true;  // before the test: a missing installer is not tried again
    const CString path = InstallerPath(names.tempDir, names.appName);
    const DWORD attributes = ports.GetAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ports.Trace(NamedLine(
            attributes == INVALID_FILE_ATTRIBUTES ? L"installer missing: " : L"installer is a folder: ", path));
        QuitSoon(QuitReason::InstallerMissing, state, ports);
        return;
    }
    const CString parameters = CString(kInstallerParameters) + names.localPath;
    const StartResult result = ports.ShellOpen(kOpenVerb, path, parameters, nullptr, kShowCommand);
    // A failed start changes nothing in the course: the first launch tick
    // finds no installer running and goes on as after an installer's end.
    CString line = NamedLine(result.Started() ? L"installer started: " : L"installer start failed: ", path);
    line += L' ';
    line += parameters;
    AppendStartOutcome(line, result, ports);
    ports.Trace(line);
    ports.ArmTimer(TIMER_LAUNCH, kSwitchPeriodMs);
}

void WaitForClassic(SwitchState& state, SwitchPorts& ports)
{
    if (ports.IsRunning(kClassicExeName))
        QuitSoon(QuitReason::ClassicRunning, state, ports);
    else
        ports.ArmTimer(TIMER_LAUNCH, kSwitchPeriodMs);
}

// Why the mini edition that this run ended stays ended, or null when it is
// to be started again. The platform is asked only when the run failed.
const wchar_t* ReasonToLeaveMiniEnded(const SwitchNames& names, const SwitchState& state, SwitchPorts& ports)
{
    if (state.quitReason == QuitReason::ClassicRunning)
        return L"switch succeeded";
    if (state.quitReason == QuitReason::EditionRunningAgain)
        return L"edition running again";
    if (state.miniPath.IsEmpty())
        return L"no path read";
    // It may yet install and start the classic edition: two editions would
    // then run side by side.
    if (ports.IsRunning(names.appName))
        return L"installer still running";
    // Back already (a watchdog, the user): a second copy is one too many.
    if (ports.IsRunning(names.miniName))
        return L"mini edition running";
    return nullptr;
}

// Once per run, as it ends: a switch that could not finish must not leave
// the user with no edition at all. The mini edition starts its own
// companions, so the gallery program is not started here.
void GiveTheMiniEditionBack(const SwitchNames& names, SwitchState& state, SwitchPorts& ports)
{
    if (state.restoreDecided)
        return;
    state.restoreDecided = true;
    if (state.miniKillCount == 0)
        return;  // nothing was taken from the user
    if (const wchar_t* reason = ReasonToLeaveMiniEnded(names, state, ports)) {
        ports.Trace(EventLine(L"mini edition not restored: ", reason));
        return;
    }
    // Started in its own folder, as the shell starts a program from its icon.
    const CString folder = FolderOfPath(state.miniPath);
    const StartResult result = ports.ShellOpen(kOpenVerb, state.miniPath, nullptr,
                                               folder.IsEmpty() ? nullptr : folder.GetString(), kShowCommand);
    CString line =
        NamedLine(result.Started() ? L"mini edition restored: " : L"mini edition restore failed: ", state.miniPath);
    AppendStartOutcome(line, result, ports);
    ports.Trace(line);
}

}  // namespace

CString FolderOfPath(const CString& path)
{
    const size_t slash = path.Str().find_last_of(L'\\');
    if (slash == std::wstring::npos || slash == 0)
        return CString();
    std::wstring folder = path.Str().substr(0, slash);
    if (folder.back() == L':')
        folder += L'\\';  // "C:" alone would mean the drive's current folder
    return CString(std::move(folder));
}

CString InstallerPath(const CString& tempDir, const CString& appName)
{
    CString path = tempDir + L"\\" + appName;
    path.Replace(L'/', L'\\');
    return path;
}

void OnPrepareTick(const SwitchNames& names, SwitchState& state, SwitchPorts& ports)
{
    ports.StopTimer(TIMER_PREPARE);
    const bool miniRunning = ports.IsRunning(names.miniName);
    const bool galleryRunning = ports.IsRunning(names.galleryName);

    if (Qualifies(miniRunning, state.miniKillCount) || Qualifies(galleryRunning, state.galleryKillCount)) {
        if (state.installerLaunched) {
            JumpToEnd(state, ports);
            return;
        }
        // Every edition that runs is handled, also one past its own limit,
        // as long as the other one still holds the installer back.
        if (miniRunning) {
            RememberMiniPath(names.miniName, state, ports);
            RemoveSettingsFile(ports);
            EndEdition(names.miniName, state.miniKillCount, ports);
        }
        if (galleryRunning)
            EndEdition(names.galleryName, state.galleryKillCount, ports);
        ports.ArmTimer(TIMER_PREPARE, kSwitchPeriodMs);
        return;
    }

    if (!state.installerLaunched && !names.tempDir.IsEmpty() && !names.appName.IsEmpty())
        StartInstaller(names, state, ports);
    ports.ArmTimer(TIMER_PREPARE, kSwitchPeriodMs);
}

void OnQuitTick(const SwitchNames& names, SwitchState& state, SwitchPorts& ports)
{
    ports.StopTimer(TIMER_QUIT);
    GiveTheMiniEditionBack(names, state, ports);
    ports.Trace(EventLine(L"quit: ", ReasonText(state.quitReason)));
    ports.PostQuit(0);
}

void OnLaunchTick(const SwitchNames& names, SwitchState& state, SwitchPorts& ports)
{
    ports.StopTimer(TIMER_PREPARE);
    ports.StopTimer(TIMER_LAUNCH);
    if (state.classicLaunched) {
        WaitForClassic(state, ports);
        return;
    }
    if (ports.IsRunning(names.appName)) {
        ports.ArmTimer(TIMER_LAUNCH, kSwitchPeriodMs);
        return;
    }
    ports.Trace(NamedLine(L"installer ended: ", names.appName));
    if (names.localPath.IsEmpty()) {
        WaitForClassic(state, ports);
        return;
    }
    state.classicLaunched = true;
    const CString path = names.localPath + L"\\" + kClassicExeName;
    const StartResult result = ports.ShellOpen(kOpenVerb, path, nullptr, nullptr, kShowCommand);
    // The installer installed nothing there (it failed, was declined, or
    // installed elsewhere): asking until the deadline would only keep the
    // user waiting for three minutes.
    if (!result.Started()) {
        CString line = NamedLine(L"classic start failed: ", path);
        AppendStartOutcome(line, result, ports);
        ports.Trace(line);
        QuitSoon(QuitReason::ClassicStartFailed, state, ports);
        return;
    }
    CString line = NamedLine(L"classic started: ", path);
    AppendStartOutcome(line, result, ports);
    ports.Trace(line);
    ports.ArmTimer(TIMER_LAUNCH, kSwitchPeriodMs);
}

void OnWindowClosed(SwitchState& state, SwitchPorts& ports)
{
    if (!state.restoreDecided && state.miniKillCount > 0)
        ports.Trace(L"mini edition not restored: window closed");
    state.restoreDecided = true;
    ports.Trace(L"quit: window closed");
}
