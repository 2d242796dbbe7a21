// Not a test: bench/wine-install runs this (wine_install_timing.exe
// timing_install) to time a whole installation of a large package through the
// real wizard under Wine.
#include <windows.h>

#include <cstdio>

#include "res/resource.h"
#include "robot/files.h"
#include "robot/installer.h"
#include "robot/page_walks.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/ui.h"

using namespace robot;

namespace {

void TimeInstall() {
    const std::string package = RequiredPathEnv("QZ_BENCH_PACKAGE");
    const std::string installDir = "C:\\qz-bench\\Qorvane\\";
    RemoveTree(installDir);
    SetupOptions options;
    options.package = package;
    Installer run(options);
    HWND path = StartToPathPage(run);
    TypeText(path, IDC_INSTALL_PATH, installDir);
    Click(path, IDOK);
    HWND confirm = run.WaitMessage(Buttons::kYesNo);
    Require(confirm != nullptr, "the confirmation appears");
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    Click(confirm, IDYES);
    HWND finish = run.WaitFinish(1800000);
    ::QueryPerformanceCounter(&end);
    Require(finish != nullptr, "the finish page opens");
    Check(::GetDlgItem(finish, IDC_RUN_APP) != nullptr &&
              ::IsWindowVisible(::GetDlgItem(finish, IDC_RUN_APP)),
          "the installation succeeded");
    const double seconds = static_cast<double>(end.QuadPart - start.QuadPart) /
                           static_cast<double>(frequency.QuadPart);
    long long bytes = 0;
    long long files = 0;
    for (const auto& entry : ListTree(installDir)) {
        if (entry.second >= 0 && entry.first != "install.log") {
            bytes += entry.second;
            ++files;
        }
    }
    std::printf("install.exe: %lld files, %lld bytes in %.3f s: %.0f MB/s, %.0f files/s\n", files,
                bytes, seconds, bytes / seconds / 1e6, files / seconds);
    PressKey(finish, VK_ESCAPE);
    run.WaitExit(30000);
    RemoveTree(installDir);
}

const Scenario timing("timing_install", &TimeInstall);

}  // namespace
