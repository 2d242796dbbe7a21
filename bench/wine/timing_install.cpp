// Not a test: bench/wine-install runs this (wine_install_timing.exe
// timing_install) to time a whole installation of a large package through the
// real wizard under Wine.
#include <windows.h>

#include <cstdio>

#include "res/resource.h"
#include "seconds_since.h"
#include "robot/files.h"
#include "robot/installer.h"
#include "robot/page_walks.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/ui.h"

using namespace robot;

namespace {

const char kInstallDir[] = "C:\\qz-bench\\Qorvane\\";

// Prints the files and bytes installed below kInstallDir in `seconds`, after
// `label`, and removes them.
void Report(const char* label, double seconds) {
    long long bytes = 0;
    long long files = 0;
    for (const auto& entry : ListTree(kInstallDir)) {
        if (entry.second >= 0 && entry.first != "install.log") {
            bytes += entry.second;
            ++files;
        }
    }
    std::printf("%s: %lld files, %lld bytes in %.3f s: %.0f MB/s, %.0f files/s\n", label, files,
                bytes, seconds, bytes / seconds / 1e6, files / seconds);
    RemoveTree(kInstallDir);
}

// Through the wizard, from the confirmation to the finish page.
void TimeInstall() {
    const std::string package = RequiredPathEnv("QZ_BENCH_PACKAGE");
    RemoveTree(kInstallDir);
    SetupOptions options;
    options.package = package;
    Installer run(options);
    HWND path = StartToPathPage(run);
    TypeText(path, IDC_INSTALL_PATH, kInstallDir);
    Click(path, IDOK);
    HWND confirm = run.WaitMessage(Buttons::kYesNo);
    Require(confirm != nullptr, "the confirmation appears");
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    Click(confirm, IDYES);
    HWND finish = run.WaitFinish(1800000);
    const double seconds = SecondsSince(start);
    Require(finish != nullptr, "the finish page opens");
    Check(::GetDlgItem(finish, IDC_RUN_APP) != nullptr &&
              ::IsWindowVisible(::GetDlgItem(finish, IDC_RUN_APP)),
          "the installation succeeded");
    PressKey(finish, VK_ESCAPE);
    run.WaitExit(30000);
    Report("install.exe", seconds);
}

// Unattended (Install.exe /S), from the start to the exit: no progress bar
// to move, so the extraction's own time, and a pinned program's check in it.
void TimeUnattended() {
    const std::string package = RequiredPathEnv("QZ_BENCH_PACKAGE");
    RemoveTree(kInstallDir);
    SetupOptions options;
    options.package = package;
    Installer run(options);
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    run.Start("/S /D=C:\\qz-bench\\Qorvane");
    Require(run.WaitExit(1800000), "the installation ends");
    const double seconds = SecondsSince(start);
    CheckEqual(run.process().ExitCode(), 0, "the installation succeeded");
    Report("install.exe /S", seconds);
}

const Scenario timing("timing_install", &TimeInstall);
const Scenario unattended("timing_unattended", &TimeUnattended);

}  // namespace
