// One run of the real Install.exe, set up in a scratch folder of its own
// (C:\qz-e2e\<scenario>\setup\ unless the scenario names the setup folder)
// with the package the scenario gives it.
#pragma once

#include <windows.h>

#include <string>

#include "robot/process.h"
#include "robot/ui.h"

namespace robot {

// Captions and control ids a person would recognise each window by.
extern const char kPageCaption[];   // "安装 Qorvane": the host and every page
extern const char kAboutCaption[];  // "关于 Install"

struct SetupOptions {
    std::string package;  // a data.dat to put beside Install.exe; empty: none
    EnvChanges env;       // e.g. {"ProgramFiles", kUnset}
    // The file name Install.exe gets in the setup folder.
    std::string exeName = "Install.exe";
    // The caption of the host and the pages as the program's windows carry it,
    // in the robot's ANSI code page.
    std::string pageCaption = kPageCaption;
    // The setup folder's name inside the scenario's folder, in the robot's ANSI
    // code page.
    std::string setupFolder = "setup";
    // The current directory the program starts in, as a shortcut may set it;
    // empty: its setup folder.
    std::string startDir{};
    // The program to run; empty: QZ_INSTALL_EXE, the build under test.
    std::string program{};
};

class Installer {
  public:
    explicit Installer(const SetupOptions& options);
    ~Installer();  // ends the program if a failed scenario left it running
    Installer(const Installer&) = delete;
    Installer& operator=(const Installer&) = delete;

    // Starts Install.exe in its folder with `arguments` on its command line;
    // ends the scenario when it cannot.
    void Start(const std::string& arguments = "");
    DWORD Pid() const { return m_process.Id(); }
    Process& process() { return m_process; }
    // The setup folder, with a trailing backslash.
    const std::string& SetupDir() const { return m_setupDir; }
    // The scenario's own folder (holds the setup folder and the launch log).
    const std::string& WorkDir() const { return m_workDir; }
    // The file the payload programs record their starts in.
    std::string LaunchLog() const { return m_workDir + "launches.log"; }
    // The caption of the program's message boxes: the executable's base name.
    std::string AppName() const;

    HWND WaitHost(DWORD ms = 15000);
    HWND WaitLicence(DWORD ms = 15000);
    HWND WaitPathPage(DWORD ms = 15000);
    HWND WaitProgress(DWORD ms = 15000);
    HWND WaitFinish(DWORD ms = 60000);
    // A message box of the program, its buttons checked against `buttons`.
    HWND WaitMessage(Buttons buttons, DWORD ms = 15000);
    // True when the program has ended within `ms`.
    bool WaitExit(DWORD ms = 15000);

  private:
    SetupOptions m_options;
    std::string m_workDir;
    std::string m_setupDir;
    Process m_process;
};

// The common walk through the wizard, each step checked as a person would see
// it. Each returns the next window, or ends the scenario when it does not come.
HWND PressInstallOnHost(Installer& run, HWND host);
HWND AgreeAndGoOn(Installer& run, HWND licence);
// Types `dir` (unless empty: keeps the proposal), presses Install and answers
// Yes; returns the progress page.
HWND ChooseDirectory(Installer& run, HWND pathPage, const std::string& dir);
// From a started installer to the progress page, installing into `dir`.
HWND WalkToProgress(Installer& run, const std::string& dir);

// Packs `folder` into `package` with qzpack.exe; ends the scenario on failure.
void PackFolder(const std::string& folder, const std::string& package);
// The demo payload folder built for the tests, and the payload programs.
std::string DemoPayloadDir();
std::string PayloadProgramsDir();

}  // namespace robot
