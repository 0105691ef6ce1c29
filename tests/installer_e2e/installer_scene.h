#pragma once
#include "support/child_process.h"
#include "support/debug_output_monitor.h"
#include "support/switch_trace.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// One switch with the real NSIS installer, in a folder of its own under the
// temporary folder: the product's settings file exists, no Korvane.exe runs,
// and whatever a test starts is ended afterwards.
//
// The installer records, beside itself, every command line it was given
// (installer_calls.txt) and the folder it installed into (installed_into.txt);
// the classic edition's stand-in records each start beside itself
// (classic_started.txt); the stand-ins of the editions end with exit code 7
// on their own, so 0 shows that the switch ended them.
class InstallerScene : public testing::Test {
protected:
    struct Run {
        bool ended = false;
        DWORD exitCode = 99;
        DWORD processId = 0;
        ULONGLONG wallMs = 0;
        std::vector<TraceLine> trace;
    };
    using WhileRunning = std::function<void(const ChildProcess& program, const DebugOutputMonitor& monitor)>;

    void SetUp() override;
    void TearDown() override;

    // Puts the installer at path (folders made as needed); it works for
    // delayMs before it installs.
    void PlaceInstaller(const std::wstring& path, unsigned delayMs = 1000);
    // A stand-in of a running program (gui_idle, or gui_classic for
    // Korvane.exe) copied to <root>\<folder>\<exeName>; returns its path.
    std::wstring PlaceStandIn(const std::wstring& folder, const std::wstring& exeName);
    // Starts a program that the scene ends afterwards, with everything that
    // runs under exeName.
    ChildProcess& Start(const std::wstring& commandLine, const std::wstring& exeName);
    // Places and starts a stand-in of an edition that lives a minute.
    ChildProcess& StartEdition(const std::wstring& exeName);

    // Runs ClassicSwitch with the text after its path, exactly as written,
    // listening to its trace; whileRunning, when given, is called once the
    // program has started. Waits up to a minute for the program's end.
    // environment, when given, is the program's whole environment block.
    Run RunSwitch(const std::wstring& arguments, const WhileRunning& whileRunning = nullptr,
                  const std::wstring* environment = nullptr);

    // The usual command line of the scene: the installer
    // <root>\Installer\Korvane Setup.exe, the installation folder
    // <root>\Classic, the editions KorvaneMini.exe and KorvaneGallery.exe,
    // each value in one quoted argument, leaving out the option named.
    std::wstring UsualArguments(const std::wstring& leftOut = L"") const;
    std::wstring UsualInstaller() const { return m_root + L"\\Installer\\Korvane Setup.exe"; }
    std::wstring UsualInstallFolder() const { return m_root + L"\\Classic"; }

    // Replaces {R} with the root and {R/} with the root written with "/".
    std::wstring InRoot(const std::wstring& pattern) const;

    std::wstring m_root;
    std::wstring m_settingsFile;

private:
    std::vector<std::unique_ptr<ChildProcess>> m_started;
    std::vector<std::wstring> m_namesToEnd;
};

// Names a parametrised test's cases after their label.
struct CaseLabel {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& testCase) const
    {
        return testCase.param.label;
    }
};

// What the stand-ins left behind.
std::vector<std::wstring> InstallerCalls(const std::wstring& installerPath);
std::vector<std::wstring> InstalledInto(const std::wstring& installerPath);
std::vector<std::wstring> ClassicStarts(const std::wstring& installFolder);
std::wstring FileName(const std::wstring& path);
