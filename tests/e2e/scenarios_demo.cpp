// The demo: one whole installation of the demo package, with a screenshot of
// every page and a summary of what was installed, then its removal through
// the 卸载 shortcut and what is left: nothing. scripts/demo runs it.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "res/resource.h"
#include "robot/expected_texts.h"
#include "robot/files.h"
#include "robot/installer.h"
#include "robot/progress_view.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/screenshot.h"
#include "robot/shortcut_checks.h"
#include "robot/system_state.h"
#include "robot/ui.h"
#include "robot/uninstaller.h"

using namespace robot;

namespace {

// Prints text line by line (CR LF or LF ends), GBK shown as UTF-8.
void Print(const std::string& text) {
    size_t start = 0;
    do {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!(line.empty() && end == text.size() && start > 0)) {
            std::printf("%s\n", Printable(line).c_str());
        }
        start = end + 1;
    } while (start < text.size());
    std::fflush(stdout);
}

void PrintSummary(const std::string& installDir, const std::string& launchLog) {
    Print("");
    Print("== Installed into " + installDir);
    for (const auto& entry : ListTree(installDir)) {
        if (entry.second >= 0)
            Print(
                Format("  %10lld  %s", static_cast<long long>(entry.second), entry.first.c_str()));
    }
    Print("== install.log");
    Print(ReadWholeFile(installDir + "install.log"));
    Print("== Registry: HKEY_LOCAL_MACHINE\\" + std::string(kProductKey) + " (32-bit view)");
    for (const char* name : {"ver", "path"}) {
        const RegValue value = ReadMachineValue(kProductKey, name);
        Print(
            Format("  %-4s %s", name,
                   value.present ? (value.type == REG_SZ ? "REG_SZ  " : "other   ") : "(absent)") +
            (value.present ? value.bytes.substr(0, value.bytes.find('\0')) : std::string()));
    }
    Print("== Shortcuts");
    const std::string links[] = {DesktopLink(), ProgramsAppLink(), ProgramsUninstallLink()};
    for (const std::string& link : links) {
        const Shortcut s = ReadShortcut(link);
        Print("  " + link);
        Print(s.loaded ? "    -> " + s.target + "  (start in " + s.workingDirectory + ", \"" +
                             s.description + "\")"
                       : "    (missing)");
    }
    Print("== Programs started (program|current directory)");
    Print(ReadWholeFile(launchLog));
}

void DemoFullInstall() {
    const std::string installDir = kDefaultInstallDir;
    Installer run({});
    const std::string package = run.WorkDir() + "data.dat";
    PackFolder(DemoPayloadDir(), package);
    Require(CopyOneFile(package, run.SetupDir() + "data.dat"),
            "the package lies beside Install.exe");
    run.Start();

    HWND host = run.WaitHost();
    Require(host != nullptr, "the host dialog appears");
    Screenshot("1-host");
    HWND licence = PressInstallOnHost(run, host);
    Screenshot("2-licence");
    Click(licence, IDC_AGREE);
    Require(WaitUntil([&] { return IsEnabled(Item(licence, IDOK)); }), "Next is enabled");
    Screenshot("3-licence-agreed");
    Click(licence, IDOK);
    HWND path = run.WaitPathPage();
    Require(path != nullptr, "the install-directory page opens");
    CheckEqual(WindowText(Item(path, IDC_INSTALL_PATH)), installDir, "the proposed directory");
    Screenshot("4-directory");
    Click(path, IDOK);
    HWND confirm = run.WaitMessage(Buttons::kYesNo);
    Require(confirm != nullptr, "the confirmation appears");
    Screenshot("5-confirm");
    Click(confirm, IDYES);
    HWND progress = run.WaitProgress();
    Require(progress != nullptr, "the progress page opens");
    // The page as a person sees it mid-installation: the bar a quarter of the
    // way or more but not at its end, the status line naming the file being
    // written. The demo package's largest file keeps the bar moving for a
    // second or more under Wine, longer than the shot takes.
    const auto midway = [&] {
        const ProgressView view = Look(progress);
        return view.upper > 0 && view.position >= view.upper / 4 && view.position < view.upper &&
               view.status.compare(0, installDir.size(), installDir) == 0 &&
               view.status.size() > installDir.size();
    };
    Require(WaitUntil(midway), "the bar stands part-way and the status line names a file");
    Screenshot("6-progress");
    Check(midway(), "the installation still runs once the shot is taken");
    HWND finish = run.WaitFinish();
    Require(finish != nullptr, "the finish page opens");
    Screenshot("7-finish");
    Click(finish, IDOK);
    Require(run.WaitExit(), "the wizard ends after Finish");
    WaitUntil([&] {
        const std::string log = ReadWholeFile(run.LaunchLog());
        return std::count(log.begin(), log.end(), '\n') >= 3;
    });
    HWND app = nullptr;
    Check(WaitUntil([&] { return (app = ::FindWindowA(nullptr, "Qorvane")) != nullptr; }),
          "the installed application shows its window");
    Screenshot("8-application");
    if (app != nullptr) {
        ::PostMessageA(app, WM_CLOSE, 0, 0);
        Check(WaitGone(app), "the application closes");
    }
    PrintSummary(installDir, run.LaunchLog());

    // And removed again, as the Start menu's 卸载 shortcut starts it.
    UninstallByShortcut(installDir, kUninstallDoneWide, "9-uninstall");
    Print("");
    Print("== After the uninstallation");
    Print("  " + installDir + (DirExists(installDir) ? ": still there" : ": gone"));
    const RegValue record = ReadMachineValue(kProductKey, "path");
    Print(std::string("  HKEY_LOCAL_MACHINE\\") + kProductKey +
          (MachineKeyExists(kProductKey) ? ": still there" : ": gone") +
          (MachineKeyExists(kVendorKey) ? ", the publisher's key still there"
                                        : ", with the publisher's key"));
    Check(!DirExists(installDir) && !record.present && !MachineKeyExists(kVendorKey),
          "the install directory and the record are gone");
    for (const std::string& link : {DesktopLink(), ProgramsAppLink(), ProgramsUninstallLink()})
        Print("  " + link + (FileExists(link) ? ": still there" : ": gone"));
    CheckNoShortcuts();
}

const Scenario demo("demo_full_install", &DemoFullInstall);

}  // namespace
