// Not a test: bench/wine-uninstall runs this (wine_install_timing.exe
// timing_uninstall) to time uninstall.exe /S removing a 20,000-file
// installation under Wine, against a floor of plain DeleteFileA and
// RemoveDirectoryA over the same tree, in one run, and to sample the peak
// working set of the uninstaller's working copy, which does the work, every
// 50 ms.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "seconds_since.h"
#include "robot/files.h"
#include "robot/process.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/uninstaller.h"

using namespace robot;

namespace {

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 200;

// An installation as Install.exe leaves it: 20,000 files of 1 KiB in 100
// folders two levels down, install.log listing them, and uninstall.exe.
std::vector<std::string> MakeInstallation(const std::string& dir) {
    std::vector<std::string> names;
    const std::string bytes(1024, 'x');
    std::string log;
    Require(MakeDirs(dir), "the install directory is made");
    Require(CopyOneFile(UninstallerProgram(), dir + "uninstall.exe"), "uninstall.exe is copied");
    names.push_back("uninstall.exe");
    for (int folder = 0; folder < kFolders; ++folder) {
        const std::string sub = "data\\d" + std::to_string(folder) + "\\";
        Require(MakeDirs(dir + sub), "a folder is made");
        for (int file = 0; file < kFilesPerFolder; ++file) {
            const std::string name = sub + "f" + std::to_string(file) + ".txt";
            Require(WriteWholeFile(dir + name, bytes), "a file is written");
            names.push_back(name);
        }
    }
    for (const std::string& name : names)
        log += "[FILE] " + name + "\r\n";
    Require(WriteWholeFile(dir + "install.log", log), "install.log is written");
    return names;
}

// The working copy: the uninstall.exe whose parent is `parent`; 0 when none.
DWORD WorkingCopyOf(DWORD parent) {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    DWORD found = 0;
    for (BOOL more = ::Process32First(snapshot, &entry); more && found == 0;
         more = ::Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent && lstrcmpiA(entry.szExeFile, "uninstall.exe") == 0)
            found = entry.th32ProcessID;
    }
    ::CloseHandle(snapshot);
    return found;
}

// uninstall.exe /S from the start to the end of its working copy; *peak gets
// the largest working set sampled of the copy.
double TimeOurs(const std::string& dir, SIZE_T* peak) {
    Process process;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    Require(process.Start(dir + "uninstall.exe", "/S", "C:\\"), "uninstall.exe starts");
    HANDLE copy = nullptr;
    *peak = 0;
    // The object every uninstaller holds exists only once the first has
    // started: it counts once the first has ended.
    while (!process.WaitExit(0) || !WaitUninstallersGone(0)) {
        if (copy == nullptr) {
            const DWORD id = WorkingCopyOf(process.Id());
            if (id != 0)
                copy = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
        }
        PROCESS_MEMORY_COUNTERS counters = {};
        if (copy != nullptr && ::GetProcessMemoryInfo(copy, &counters, sizeof(counters)))
            *peak = std::max(*peak, counters.PeakWorkingSetSize);
        // Each sample is a request to the Wine server, which also serves every
        // file operation of the uninstaller: sampled sparsely.
        ::Sleep(50);
    }
    const double seconds = SecondsSince(start);
    if (copy != nullptr)
        ::CloseHandle(copy);
    CheckEqual(process.ExitCode(), 0, "exit code: removed");
    Check(!DirExists(dir), "the installation is gone");
    return seconds;
}

// The same removal with nothing but DeleteFileA and RemoveDirectoryA.
double TimeFloor(const std::string& dir, const std::vector<std::string>& names) {
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    std::set<std::string> folders;
    for (const std::string& name : names) {
        ::DeleteFileA((dir + name).c_str());
        folders.insert(name.substr(0, name.rfind('\\') + 1));
    }
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        if (!folder->empty())
            ::RemoveDirectoryA((dir + *folder).c_str());
    }
    ::RemoveDirectoryA((dir + "data").c_str());
    ::DeleteFileA((dir + "install.log").c_str());
    ::RemoveDirectoryA(dir.c_str());
    const double seconds = SecondsSince(start);
    Check(!DirExists(dir), "the floor removed the tree");
    return seconds;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void TimeUninstall() {
    const char* runs_text = std::getenv("QZ_BENCH_RUNS");
    const int runs = runs_text != nullptr ? std::max(1, std::atoi(runs_text)) : 3;
    std::vector<double> ours;
    std::vector<double> floor;
    SIZE_T peak = 0;
    for (int run = 0; run < runs; ++run) {
        // Every tree is made before the timed removals of this run, untimed;
        // the order of the two alternates.
        const std::string mine = "C:\\qz-bench\\u" + std::to_string(run) + "\\Qorvane\\";
        const std::string plain = "C:\\qz-bench\\f" + std::to_string(run) + "\\Qorvane\\";
        MakeInstallation(mine);
        const std::vector<std::string> names = MakeInstallation(plain);
        SIZE_T run_peak = 0;
        if (run % 2 == 0) {
            ours.push_back(TimeOurs(mine, &run_peak));
            floor.push_back(TimeFloor(plain, names));
        } else {
            floor.push_back(TimeFloor(plain, names));
            ours.push_back(TimeOurs(mine, &run_peak));
        }
        peak = std::max(peak, run_peak);
        std::printf(
            "run %d: uninstall.exe /S %.3f s, DeleteFileA/RemoveDirectoryA %.3f s, "
            "peak working set %.1f MiB\n",
            run + 1, ours.back(), floor.back(), run_peak / 1048576.0);
    }
    std::printf(
        "uninstall.exe /S: %d files, median %.3f s (min %.3f), floor median %.3f s "
        "(min %.3f), ratio %.2f (target <= 1.5), peak working set %.1f MiB "
        "(target < 16)\n",
        kFolders * kFilesPerFolder, Median(ours), *std::min_element(ours.begin(), ours.end()),
        Median(floor), *std::min_element(floor.begin(), floor.end()), Median(ours) / Median(floor),
        peak / 1048576.0);
    std::fflush(stdout);
}

const Scenario timing("timing_uninstall", &TimeUninstall);

}  // namespace
