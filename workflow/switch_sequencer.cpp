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

CString Quote(const CString& text)
{
    return CString(L"\"") + text + L"\"";
}

const wchar_t* ReasonText(QuitReason reason)
{
    switch (reason) {
    case QuitReason::InstallerMissing:
        return L"installer missing";
    case QuitReason::EditionRunningAgain:
        return L"edition running again";
    case QuitReason::ClassicRunning:
        return L"classic edition running";
    case QuitReason::Deadline:
        break;
    }
    return L"deadline";
}

void QuitSoon(QuitReason reason, SwitchState& state, SwitchPorts& ports)
{
    state.quitReason = reason;
    ports.Trace(CString(L"quitting in 500 ms: ") + ReasonText(reason));
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
        ports.Trace(L"settings absent: " + Quote(path));
        return;
    }
    ports.RemoveFile(path);
    ports.Trace(L"settings removed: " + Quote(path));
}

void EndEdition(const CString& exeName, int& passes, SwitchPorts& ports)
{
    ++passes;
    ports.Trace(L"ending: " + Quote(exeName) + L" pass " + DecimalString(passes));
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
        ports.Trace((attributes == INVALID_FILE_ATTRIBUTES ? L"installer missing: " : L"installer is a folder: ") +
                    Quote(path));
        QuitSoon(QuitReason::InstallerMissing, state, ports);
        return;
    }
    const CString parameters = CString(kInstallerParameters) + names.localPath;
    ports.ShellOpen(kOpenVerb, path, parameters, kShowCommand);
    ports.Trace(L"installer started: " + Quote(path) + L" " + parameters);
    ports.ArmTimer(TIMER_LAUNCH, kSwitchPeriodMs);
}

void WaitForClassic(SwitchState& state, SwitchPorts& ports)
{
    if (ports.IsRunning(kClassicExeName))
        QuitSoon(QuitReason::ClassicRunning, state, ports);
    else
        ports.ArmTimer(TIMER_LAUNCH, kSwitchPeriodMs);
}

}  // namespace

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

void OnQuitTick(SwitchState& state, SwitchPorts& ports)
{
    ports.StopTimer(TIMER_QUIT);
    ports.Trace(CString(L"quit: ") + ReasonText(state.quitReason));
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
    ports.Trace(L"installer ended: " + Quote(names.appName));
    if (names.localPath.IsEmpty()) {
        WaitForClassic(state, ports);
        return;
    }
    state.classicLaunched = true;
    const CString path = names.localPath + L"\\" + kClassicExeName;
    ports.ShellOpen(kOpenVerb, path, nullptr, kShowCommand);
    ports.Trace(L"classic started: " + Quote(path));
    ports.ArmTimer(TIMER_LAUNCH, kSwitchPeriodMs);
}
