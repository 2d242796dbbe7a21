// The Windows half of the differential test (see `run`): every package of the
// run goes through the real Install.exe /S, and what it leaves is held against
// what qzpack decided natively. The run folder (QZ_DIFF_DIR) holds
// packages/NNNN.dat and the manifest, the folder QZ_DIFF_EXPECTED holds NNNN/
// (qzpack extract's tree). The manifest has one line per package: "NNNN
// accepted ROOM", "NNNN refused", or for a package verify accepts "NNNN
// unextracted" (qzpack extract failed) or "NNNN roomless" (verify printed no
// room). The indices of the packages that disagree are written to
// disagreements.txt.
//
//   - accepted: into a directory of at most ROOM bytes (the room itself for
//     every other package), exit 0 and the tree of qzpack extract; into one of
//     ROOM + 1 bytes, exit 3 with nothing written;
//   - refused: exit 2 with nothing written.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "differential/tree_comparison_win32.h"
#include "robot/files.h"
#include "robot/process.h"
#include "robot/report.h"
#include "robot/scenario.h"
#include "robot/ui.h"

using namespace robot;

namespace {

constexpr DWORD kInstalled = 0;
constexpr DWORD kRefused = 2;
constexpr DWORD kCreateFailed = 3;
constexpr DWORD kHung = 0xFFFFFFFF;

// "C:\d\<tag>" made up to `length` bytes with its trailing backslash, in
// levels of at most 200 characters.
std::string DirectoryOfLength(const std::string& tag, std::size_t length) {
    std::string dir = "C:\\d\\" + tag;
    std::size_t level = tag.size();
    while (dir.size() + 1 < length) {
        if (level >= 200 && dir.size() + 2 < length) {
            dir += '\\';
            level = 0;
        } else {
            dir += 'p';
            ++level;
        }
    }
    return dir + "\\";
}

// The shortest directory DirectoryOfLength makes for a tag of five bytes.
constexpr std::size_t kShortestDir = 11;

std::string DirectoryOf(const std::string& path) {
    return path.substr(0, path.rfind('\\') + 1);
}

// How often a start is tried. Wine on a busy machine now and then fails to
// start a process (error 1359, an internal error) before any of its code
// runs: the installer has done nothing, so it is started again.
constexpr int kStarts = 3;

// The installer's exit code; kHung with *why when it cannot be started or
// has not ended after a minute, when it is ended and *why names the
// windows it showed: a silent installer shows none. *restarts counts the
// starts that failed before one succeeded.
DWORD RunInstaller(const std::string& exe, const std::string& dir, std::string* why,
                   int* restarts) {
    Process installer;
    // The directory goes without its backslash, as an administrator types it.
    for (int start = 1;
         !installer.Start(exe, "/S /D=" + dir.substr(0, dir.size() - 1), DirectoryOf(exe));
         ++start) {
        if (start == kStarts) {
            *why = Format("Install.exe did not start in %d tries (error %lu)", kStarts,
                          ::GetLastError());
            return kHung;
        }
        ++*restarts;
        ::Sleep(1000);
    }
    if (!installer.WaitExit(60000)) {
        *why = "Install.exe still ran after 60 s, showing";
        const std::vector<HWND> windows = TopLevelWindows(installer.Id());
        for (HWND window : windows) {
            *why += " [" + ClassNameOf(window) + ": " + Printable(WindowText(window)) + "]";
        }
        *why += windows.empty() ? " no window; ended" : "; ended";
        installer.Kill();
        return kHung;
    }
    return installer.ExitCode();
}

struct Tally {
    int accepted = 0;
    int refused = 0;
    int runs = 0;
    int restarts = 0;  // starts that Wine failed and that were tried again
};

// One package: what disagrees, one line each.
std::vector<std::string> Differences(const std::string& expected, const std::string& exe,
                                     const std::string& index, const std::string& decision,
                                     std::size_t room, Tally& tally) {
    std::vector<std::string> out;
    const auto install = [&](const char* tag, std::size_t length, DWORD wanted) {
        const std::string dir = DirectoryOfLength(index + tag, std::max(length, kShortestDir));
        std::string why;
        const DWORD code = RunInstaller(exe, dir, &why, &tally.restarts);
        ++tally.runs;
        const std::string where = Format("into %u bytes: ", static_cast<unsigned>(dir.size()));
        if (code == kHung) {
            out.push_back(where + why);
        } else if (code != wanted) {
            out.push_back(where + Format("exit %ld, not %lu", static_cast<long>(code), wanted));
        }
        if (wanted == kInstalled) {
            for (const std::string& d : qz::diff::TreeDifferences(dir, expected + index + "\\")) {
                out.push_back(where + d);
            }
        } else if (!ListTree(dir).empty()) {
            out.push_back(where + "something was written");
        }
    };
    if (decision == "refused") {
        ++tally.refused;
        install("r", kShortestDir + std::stoul(index) % 40, kRefused);
    } else if (decision == "accepted") {
        ++tally.accepted;
        if (room >= kShortestDir) {
            const std::size_t n = std::stoul(index);
            install("a", n % 2 == 0 ? room : kShortestDir + n % (room - kShortestDir + 1),
                    kInstalled);
        }
        install("b", room + 1, kCreateFailed);
    } else {
        out.push_back(decision == "unextracted"
                          ? "qzpack verify accepts it, but qzpack extract fails on it"
                          : "qzpack verify accepts it, but prints no room");
    }
    return out;
}

void InstallEveryPackage() {
    const std::string run = WithSlash(RequiredPathEnv("QZ_DIFF_DIR"));
    const std::string expected = WithSlash(RequiredPathEnv("QZ_DIFF_EXPECTED"));
    const std::string exe = "C:\\qz-diff\\setup\\Install.exe";
    Require(MakeDirs(DirectoryOf(exe)) && CopyOneFile(RequiredPathEnv("QZ_INSTALL_EXE"), exe),
            "Install.exe is copied into its setup folder");
    std::ifstream manifest(run + "manifest");
    Require(manifest.good(), "the run's manifest can be read");
    std::ofstream disagreements(run + "disagreements.txt", std::ios::binary);
    Tally tally;
    int packages = 0;
    int failed = 0;
    for (std::string line; std::getline(manifest, line);) {
        std::istringstream fields(line);
        std::string index, decision;
        std::size_t room = 0;
        fields >> index >> decision >> room;
        ++packages;
        Require(CopyOneFile(run + "packages\\" + index + ".dat", DirectoryOf(exe) + "data.dat"),
                "package " + index + " is put beside Install.exe");
        const std::vector<std::string> found =
            Differences(expected, exe, index, decision, room, tally);
        for (const std::string& what : found) {
            Check(false, "package " + index + " (verify: " + decision + "): " + what);
        }
        if (!found.empty()) {
            ++failed;
            disagreements << index << '\n';
        }
    }
    std::printf(
        "%d packages (%d accepted, %d refused), %d installer runs (%d starts tried again): %d "
        "disagree\n",
        packages, tally.accepted, tally.refused, tally.runs, tally.restarts, failed);
    Check(packages > 0, "the manifest names packages");
}

const Scenario differential("differential_installs", &InstallEveryPackage);

}  // namespace
