// The unattended mode, as an administrator meets it: Install.exe /S [/D=DIR]
// started by a script, no window, the outcome in the exit code, and the same
// files, log, shortcuts and record as the wizard leaves.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "robot/expected_texts.h"
#include "robot/files.h"
#include "robot/installer.h"
#include "robot/packages.h"
#include "robot/pinned_packages.h"
#include "robot/process.h"
#include "robot/record_check.h"
#include "robot/report.h"
#include "robot/run_log.h"
#include "robot/running_copy.h"
#include "robot/scenario.h"
#include "robot/shortcut_checks.h"
#include "robot/system_state.h"
#include "robot/ui.h"
#include "robot/uninstall_entry_check.h"
#include "support/folder_link_win32.h"
#include "support/package_bytes.h"

using namespace robot;
using qz::test::PackageBytes;
using qz::test::TestFile;

namespace {

// Runs the installer with `arguments` to its end, watching all the while for
// a top-level window of its own; returns its exit code.
DWORD RunUnattended(Installer& run, const std::string& arguments) {
    Step("Install.exe " + arguments);
    run.Start(arguments);
    // Every top-level window of the process, described as first seen. Wine's
    // shell may make a hidden helper window for a moment while the shortcuts
    // are saved (seen about once in sixty runs, gone before its class could be
    // read): that one is logged. A window a person could see, or a dialog of
    // the program's own even while hidden, fails the run.
    std::map<HWND, std::string> seen;
    std::string shown;
    const DWORD start = ::GetTickCount();
    while (!run.WaitExit(5)) {
        for (HWND hwnd : TopLevelWindows(run.Pid())) {
            if (seen.count(hwnd) != 0)
                continue;
            const std::string className = ClassNameOf(hwnd);
            seen[hwnd] = className + " \"" + WindowText(hwnd) + "\"";
            if (IsShown(hwnd) || className == "#32770")
                shown += " [" + seen[hwnd] + "]";
        }
        Require(::GetTickCount() - start < 60000, "the installer ends by itself within a minute");
    }
    CheckEqual(shown, "", "no window or dialog of the installer appeared");
    for (const auto& window : seen)
        Step("a hidden helper window came and went: " + window.second);
    Check(!FileExists(run.LaunchLog()), "no program was started");
    return run.process().ExitCode();
}

// A fresh machine as far as the product goes: no record, no shortcuts.
void ForgetEarlierInstalls() {
    DeleteMachineKey(kProductKey);
    DeleteMachineKey(kUninstallEntryKey);
    ::DeleteFileA(DesktopLink().c_str());
    RemoveTree(ProgramsFolder() + "\\Qorvane\\");
}

// Every file of `payload` landed below `installDir` byte for byte, and
// install.log lists as many files.
void CheckInstalled(const std::string& payload, const std::string& installDir) {
    const auto files = ListTree(payload);
    size_t count = 0;
    for (const auto& file : files) {
        if (file.second < 0)
            continue;
        ++count;
        CheckEqual(ReadWholeFile(installDir + file.first),
                   ReadWholeFile(WithSlash(payload) + file.first),
                   "installed " + Printable(file.first));
    }
    const std::string log = ReadWholeFile(installDir + "install.log");
    size_t lines = 0;
    for (size_t at = log.find("\r\n"); at != std::string::npos; at = log.find("\r\n", at + 2))
        ++lines;
    CheckEqual(static_cast<long long>(lines), static_cast<long long>(count),
               "install.log names every installed file");
}

// ---- Scenarios ------------------------------------------------------------

// The demo package into a directory with spaces, into the default directory,
// and into a directory with spaces quoted in both ways tools quote it;
// without /S the wizard shows as always.
void UnattendedInstall() {
    const std::string payload = DemoPayloadDir();
    const std::string package = PackageFolder() + "data.dat";
    PackFolder(payload, package);
    const struct {
        const char* arguments;
        EnvChanges env;
        const char* dir;
    } installs[] = {
        {"/S /D=C:\\Some Dir\\Qorvane", {}, "C:\\Some Dir\\Qorvane\\"},
        {"/s", ProgramFilesEnv("C:\\Apps"), "C:\\Apps\\Qorvane\\"},
        // Quoted as deployment tools quote an argument that holds spaces.
        {"/S \"/D=C:\\My Apps\\Qorvane\"", {}, "C:\\My Apps\\Qorvane\\"},
        {"/S /D=\"C:\\My Apps\\Qorvane\"", {}, "C:\\My Apps\\Qorvane\\"},
    };
    for (const auto& install : installs) {
        ForgetEarlierInstalls();
        RemoveTree(install.dir);
        SetupOptions options;
        options.package = package;
        options.env = install.env;
        Installer run(options);
        CheckEqual(RunUnattended(run, install.arguments), 0, "exit code: installed");
        CheckInstalled(payload, install.dir);
        CheckRecord(install.dir);
        CheckShortcutsFor(install.dir);
    }
    {
        Step("a command line without /S starts the wizard");
        SetupOptions options;
        options.package = package;
        Installer run(options);
        run.Start("/D=C:\\Elsewhere");
        HWND host = run.WaitHost();
        Require(host != nullptr, "the host dialog appears");
        PressKey(host, VK_ESCAPE);
        Check(run.WaitExit(), "Esc on the host ends the program");
        CheckEqual(run.process().ExitCode(), 0, "the wizard's exit code");
    }
}

// Each failure gives its exit code and leaves what the wizard would leave.
void UnattendedExitCodes() {
    const std::string good = PackNamedFiles({"a.txt", "b.txt", "c.txt"});
    const std::string packages = good.substr(0, good.size() - 8);
    const std::string goodBytes = ReadWholeFile(good);
    // Bytes 4 and 5 of the header are the magic letters: a changed one is
    // refused before anything is written.
    std::string badMagic = goodBytes;
    badMagic[4] = 'X';
    Require(WriteWholeFile(packages + "bad-magic.dat", badMagic), "bad-magic package written");
    // The last data byte missing: the package ends early.
    Require(WriteWholeFile(packages + "short.dat", goodBytes.substr(0, goodBytes.size() - 1)),
            "short package written");

    const std::string dir = "C:\\Unattended\\Qorvane\\";
    struct Row {
        const char* what;
        std::string package;  // empty: none beside Install.exe
        std::string arguments;
        std::function<void()> before;  // sets the machine up; may be empty
        DWORD exitCode;
        bool reachesExtraction;       // the record is written
        std::set<std::string> files;  // what the install directory holds
    };
    const std::string to = "/S /D=C:\\Unattended\\Qorvane";
    std::unique_ptr<RunningCopy> copy;
    const Row rows[] = {
        {"data.dat missing", "", to, nullptr, 1, true, {}},
        {"the package refused", packages + "bad-magic.dat", to, nullptr, 2, true, {}},
        {"a file cannot be created",
         good,
         to,
         [&] { Require(MakeDirs(dir + "b.txt\\"), "a folder named b.txt is in the way"); },
         3,
         true,
         {"a.txt", "b.txt\\", "install.log"}},
        {"the package ends early",
         packages + "short.dat",
         to,
         nullptr,
         4,
         true,
         {"a.txt", "b.txt", "c.txt", "install.log"}},
        {"a running copy",
         good,
         to,
         [&] { copy = std::make_unique<RunningCopy>("C:\\qz-e2e\\"); },
         5,
         true,
         {}},
        {"an invalid directory", good, "/S /D=Qorvane", nullptr, 6, false, {}},
        {"an empty directory", good, "/S /D=", nullptr, 6, false, {}},
        {"an unknown option", good, "/S /X", nullptr, 7, false, {}},
        {"an unknown option before /D=",
         good,
         "/S /Q /D=C:\\Unattended\\Qorvane",
         nullptr,
         7,
         false,
         {}},
    };
    for (const Row& row : rows) {
        Step(row.what);
        ForgetEarlierInstalls();
        RemoveTree("C:\\Unattended\\");
        SetupOptions options;
        options.package = row.package;
        Installer run(options);
        if (row.before)
            row.before();
        CheckEqual(RunUnattended(run, row.arguments), row.exitCode,
                   std::string(row.what) + ": exit code");
        copy.reset();
        Require(WaitUntil([] { return ::FindWindowA(nullptr, kAppWindowTitle) == nullptr; }),
                "no window titled Qorvane is left");
        std::set<std::string> found;
        for (const auto& entry : ListTree(dir))
            found.insert(entry.first);
        CheckEqual(static_cast<long long>(found.size()), static_cast<long long>(row.files.size()),
                   std::string(row.what) + ": entries in the install directory");
        for (const std::string& name : row.files)
            Check(found.count(name) == 1, std::string(row.what) + ": " + name + " is there");
        if (row.files.empty())
            Check(!DirExists(dir), std::string(row.what) + ": no install directory");
        if (row.reachesExtraction)
            CheckRecord(dir);
        else
            Check(!MachineKeyExists(kProductKey), std::string(row.what) + ": no record");
        CheckNoShortcuts();
    }
}

// The pinned program installs its own package and refuses every other with
// exit code 2 and nothing written; the unpinned program installs each of them.
void UnattendedPinned() {
    const std::string dir = "C:\\Unattended\\Qorvane\\";
    const std::string to = "/S /D=C:\\Unattended\\Qorvane";
    const std::string pinned = PinnedPackage();
    struct Row {
        std::string what;
        std::string package;  // empty: none beside Install.exe
        DWORD pinnedExit;     // the unpinned program's is 0 where a package lies
        SourceChange change = SourceChange::kNone;  // the pinned program's only
    };
    // The pinned package from a source that does not replay its bytes: changed
    // from the first read on, it is refused; changed only on a read after the
    // first pass, the bytes installed are the pinned ones.
    std::vector<Row> rows = {
        {"the pinned package", pinned, 0},
        {"no data.dat", "", 1},
        {"a source changed from the first read", pinned, 2, SourceChange::kFromFirstRead},
        {"a source changed after the first pass", pinned, 0, SourceChange::kAfterFirstPass},
    };
    const std::string folder = PackageFolder();
    int n = 0;
    for (const PackageVariant& variant : NotThePinnedPackage(ReadWholeFile(pinned))) {
        const std::string path = folder + "variant" + std::to_string(++n) + ".dat";
        Require(WriteWholeFile(path, variant.bytes), "the package is written");
        rows.push_back({variant.what, path, 2});
    }
    for (const Row& row : rows) {
        for (const bool isPinned : {true, false}) {
            if (!isPinned && (row.package.empty() || row.change != SourceChange::kNone))
                continue;
            const std::string what = row.what + (isPinned ? ", pinned" : ", unpinned");
            Step(what);
            ForgetEarlierInstalls();
            RemoveTree("C:\\Unattended\\");
            SetupOptions options;
            options.package = row.package;
            if (isPinned)
                options.program = PinnedProgram();
            Installer run(options);
            MakeChangingSource(run.SetupDir() + "data.dat", row.change);
            const DWORD expected = isPinned ? row.pinnedExit : 0;
            CheckEqual(RunUnattended(run, to), expected, what + ": exit code");
            if (expected == 0) {
                if (row.package == pinned) {
                    CheckInstalled(DemoPayloadDir(), dir);
                    // The payload's files and folders, and install.log.
                    CheckEqual(static_cast<long long>(ListTree(dir).size()),
                               static_cast<long long>(ListTree(DemoPayloadDir()).size() + 1),
                               what + ": nothing else is installed");
                }
                Check(FileExists(dir + "install.log"), what + ": installed");
                CheckShortcutsFor(dir);
            } else {
                Check(!DirExists(dir), what + ": no install directory");
                CheckNoShortcuts();
            }
            CheckRecord(dir);
        }
    }
}

// Folder links planted before the installation: one in the install directory
// or as the install directory itself is refused with exit code 3 and nothing
// written through it; one above the install directory is the administrator's
// own choice and the installation goes through it.
void UnattendedPlantedLink() {
    const std::string victim = "C:\\qz-victim\\";
    Require(CreateDirectoryA(victim.c_str(), nullptr), "the folder behind the links is made");
    Require(CreateDirectoryA("C:\\QJ", nullptr) &&
                qz::test::PlantFolderLink("C:\\QJ\\data", victim) &&
                qz::test::PlantFolderLink("C:\\QL", victim) &&
                qz::test::PlantFolderLink("C:\\QA", victim),
            "the links are planted");
    const std::string package = WritePackage(qz::test::PackageBytes(
        {{"ravik.exe", "app"}, {"data\\x.txt", "x"}, {"uninstall.exe", "un"}}));
    const struct {
        const char* what;
        const char* dir;
        DWORD exitCode;
    } rows[] = {
        {"a link in the install directory", "C:\\QJ", 3},
        {"the install directory is a link", "C:\\QL", 3},
        {"a link above the install directory", "C:\\QA\\Qorvane", 0},
    };
    for (const auto& row : rows) {
        Step(row.what);
        ForgetEarlierInstalls();
        SetupOptions options;
        options.package = package;
        Installer run(options);
        CheckEqual(RunUnattended(run, std::string("/S /D=") + row.dir), row.exitCode,
                   std::string(row.what) + ": exit code");
        const std::map<std::string, std::int64_t> behind = ListTree(victim);
        if (row.exitCode == 0) {
            CheckEqual(ReadWholeFile(victim + "Qorvane\\data\\x.txt"), "x",
                       std::string(row.what) + ": installed through it");
            CheckShortcutsFor(std::string(row.dir) + "\\");
            RemoveTree(victim + "Qorvane\\");
        } else {
            CheckEqual(static_cast<long long>(behind.size()), 0,
                       std::string(row.what) + ": nothing written through the link");
            CheckNoShortcuts();
        }
    }
}

// The entry in the list of installed programs after /S into a directory with
// Chinese names and a space, read wide in the system's code page: 936 here,
// 1252 in unattended_apps_entry_western, where the same bytes name other
// characters. A refused package, a failed installation and a package without
// uninstall.exe write none, and leave an earlier one as it was.
void UnattendedAppsEntry() {
    const UINT codePage = ::GetACP();
    Require(codePage == 936 || codePage == 1252,
            Format("the ANSI code page is 936 or 1252 (it is %u)", codePage));
    // 安装 目录 is B0 B2 D7 B0 20 C4 BF C2 BC, which 1252 reads as °²×° Ä¿Â¼.
    const std::string typed = "C:\\安装 目录\\Qorvane";
    const std::string dir = typed + "\\";
    const std::wstring wideDir = codePage == 936 ? std::wstring(L"C:\\安装 目录\\Qorvane\\")
                                                 : std::wstring(
                                                       L"C:\\\u00b0\u00b2\u00d7\u00b0 "
                                                       L"\u00c4\u00bf\u00c2\u00bc\\Qorvane\\");
    const std::vector<TestFile> files = {{"ravik.exe", std::string(3000, 'a')},
                                         {"uninstall.exe", "uninstaller"},
                                         {"data\\notes.txt", "notes"}};
    std::int64_t total = 0;
    for (const TestFile& file : files)
        total += static_cast<std::int64_t>(file.data.size());
    const std::string folder = PackageFolder();
    const std::string good = folder + "good.dat";
    const std::string refused = folder + "refused.dat";
    const std::string noUninstaller = folder + "no-uninstaller.dat";
    std::string badMagic = PackageBytes(files);
    badMagic[4] = 'X';
    Require(WriteWholeFile(good, PackageBytes(files)) && WriteWholeFile(refused, badMagic) &&
                WriteWholeFile(noUninstaller, PackageBytes({{"ravik.exe", "app"}})),
            "the packages are written");

    ForgetEarlierInstalls();
    RemoveTree("C:\\安装 目录\\");
    {
        SetupOptions options;
        options.package = good;
        Installer run(options);
        CheckEqual(RunUnattended(run, "/S \"/D=" + typed + "\""), 0, "exit code: installed");
    }
    CheckEqual(ReadWholeFile(dir + "uninstall.exe"), "uninstaller", "installed where asked");
    CheckUninstallEntry(wideDir, total);

    const std::string other = "C:\\Other\\Qorvane\\";
    struct Row {
        const char* what;
        std::string package;
        DWORD exitCode;
        bool held;  // data\notes.txt, written after uninstall.exe, is held open
    };
    const Row rows[] = {
        {"a refused package", refused, 2, false},
        {"a file that cannot be written", good, 3, true},
        {"a package without uninstall.exe", noUninstaller, 0, false},
    };
    for (const bool earlierEntry : {true, false}) {
        if (!earlierEntry)
            DeleteMachineKey(kUninstallEntryKey);
        for (const Row& row : rows) {
            const std::string what = std::string(row.what) +
                                     (earlierEntry ? ", an earlier entry" : ", no earlier entry");
            Step(what);
            RemoveTree("C:\\Other\\");
            std::unique_ptr<FileHold> hold;
            if (row.held) {
                Require(MakeDirs(other + "data\\"), "the other directory is made");
                hold = std::make_unique<FileHold>(other + "data\\notes.txt");
            }
            SetupOptions options;
            options.package = row.package;
            Installer run(options);
            CheckEqual(RunUnattended(run, "/S /D=C:\\Other\\Qorvane"), row.exitCode,
                       what + ": exit code");
            if (row.held)
                CheckEqual(ReadWholeFile(other + "uninstall.exe"), "uninstaller",
                           what + ": the uninstaller was written before the failure");
            if (earlierEntry)
                CheckUninstallEntry(wideDir, total);
            else
                CheckNoUninstallEntry(what);
        }
    }
}

// /LOG=FILE: a relative log taken from the start directory, naming the
// command line first, the install directory, every folder, file, shortcut
// and registry value written, and the exit code last; a held file's failure
// with its error text in a log whose quoted path holds spaces; a log that
// cannot be created is exit code 8 with nothing done.
void UnattendedLog() {
    const std::string payload = DemoPayloadDir();
    const std::string package = PackageFolder() + "data.dat";
    PackFolder(payload, package);
    const std::string dir = "C:\\My Apps\\Qorvane\\";
    const std::wstring wideDir = L"C:\\My Apps\\Qorvane\\";
    const std::string start = "C:\\qz-e2e\\log-start\\";
    Require(MakeDirs(start), "the start directory is made");
    ForgetEarlierInstalls();
    RemoveTree("C:\\My Apps\\");
    {
        SetupOptions options;
        options.package = package;
        options.startDir = start;
        Installer run(options);
        const std::string arguments = "/S /LOG=run.log \"/D=C:\\My Apps\\Qorvane\"";
        CheckEqual(RunUnattended(run, arguments), 0, "exit code: installed");
        CheckInstalled(payload, dir);
        Check(!FileExists(run.SetupDir() + "run.log"),
              "the relative log is not in the setup folder");
        const std::vector<std::wstring> lines = ReadRunLog(start + "run.log");
        Require(!lines.empty(), "the log has lines");
        Check(lines.front().rfind(L"命令行: ", 0) == 0 &&
                  lines.front().find(Widen(arguments)) != std::wstring::npos,
              "the first line is the command line: " + Printable(lines.front()));
        CheckEqual(lines.back(), L"退出代码: 0", "the last line is the exit code");
        CheckLogLine(lines, L"安装目录: " + wideDir, "the install directory");
        CheckLogLine(lines, L"已创建文件夹 C:\\My Apps\\", "the folder above it");
        CheckLogLine(lines, L"已创建文件夹 " + wideDir, "the install directory made");
        long long files = 1;  // install.log
        CheckLogLine(lines, L"已写入文件 " + wideDir + L"install.log", "install.log");
        for (const auto& entry : ListTree(payload)) {
            if (entry.second < 0) {
                CheckLogLine(lines, L"已创建文件夹 " + wideDir + Widen(entry.first), "a folder");
            } else {
                ++files;
                CheckLogLine(lines, L"已写入文件 " + wideDir + Widen(entry.first), "a file");
            }
        }
        CheckEqual(CountLines(lines, L"已写入文件 "), files, "the files written, each once");
        for (const std::string& link : {DesktopLink(), ProgramsAppLink(), ProgramsUninstallLink()})
            CheckLogLine(lines, L"已创建快捷方式 " + Widen(link), "a shortcut");
        const std::wstring record =
            L"已写入注册表值 HKEY_LOCAL_MACHINE\\software\\tarnwell\\velmira\\";
        CheckLogLine(lines, record + L"ver = 1.10", "the record's version");
        CheckLogLine(lines, record + L"path = " + wideDir, "the record's path");
        const std::wstring entry =
            L"已写入注册表值 HKEY_LOCAL_MACHINE\\Software\\Microsoft\\"
            L"Windows\\CurrentVersion\\Uninstall\\Qorvane\\";
        CheckLogLine(lines, entry + L"QuietUninstallString = \"" + wideDir + L"uninstall.exe\" /S",
                     "the entry's quiet uninstaller");
        CheckLogLine(lines, entry + L"NoRepair = 1", "the entry's last value");
        CheckEqual(CountLines(lines, L"已写入注册表值 "), 13, "the registry values written");
        CheckEqual(CountLines(lines, L"无法"), 0, "no failure");
    }
    {
        Step("a held file, the log's path quoted with spaces");
        const std::string logDir = "C:\\log dir\\";
        Require(MakeDirs(logDir), "the log's folder is made");
        FileHold held(dir + "ravik.exe");
        SetupOptions options;
        options.package = package;
        Installer run(options);
        CheckEqual(RunUnattended(run, "/S /LOG=\"" + logDir + "held run.log\" /D=" + dir), 3,
                   "exit code: a file could not be written");
        const std::vector<std::wstring> lines = ReadRunLog(logDir + "held run.log");
        Require(!lines.empty(), "the log has lines");
        const std::wstring failure = L"无法写入文件 " + wideDir + L"ravik.exe (错误 32: ";
        const bool named = CountLines(lines, failure) == 1;
        Check(named, "the log names the held file with error 32");
        for (const std::wstring& line : lines) {
            if (named && line.rfind(failure, 0) == 0)
                Check(line.size() > failure.size() + 1 && line.back() == L')',
                      "the failure carries the system's text: " + Printable(line));
        }
        CheckEqual(lines.back(), L"退出代码: 3", "the last line is the exit code");
    }
    {
        Step("a log that cannot be created");
        ForgetEarlierInstalls();
        SetupOptions options;
        options.package = package;
        Installer run(options);
        CheckEqual(RunUnattended(run, "/S /LOG=C:\\no-folder\\x.log /D=C:\\Unlogged\\Qorvane"), 8,
                   "exit code: the log cannot be created");
        Check(!DirExists("C:\\Unlogged\\"), "no install directory");
        Check(!DirExists("C:\\no-folder\\"), "no folder for the log");
        Check(!MachineKeyExists(kProductKey), "no record");
        CheckNoUninstallEntry("a log that cannot be created");
        CheckNoShortcuts();
    }
}

const Scenario install("unattended_install", &UnattendedInstall);
const Scenario plantedLink("unattended_planted_link", &UnattendedPlantedLink);
const Scenario exitCodes("unattended_exit_codes", &UnattendedExitCodes);
const Scenario pinned("unattended_pinned", &UnattendedPinned);
const Scenario appsEntry("unattended_apps_entry", &UnattendedAppsEntry);
const Scenario appsEntryWestern("unattended_apps_entry_western", &UnattendedAppsEntry);
const Scenario log("unattended_log", &UnattendedLog);

}  // namespace
