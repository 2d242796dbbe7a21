// The product's uninstall.exe, as people meet it: started from the Start
// menu's 卸载 shortcut (its question, its window, its last message) or by a
// script with /S, it leaves the machine as it was before the installation,
// except for what the user added, and nothing else goes.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"
#include "support/folder_link_win32.h"
#include "robot/expected_texts.h"
#include "robot/files.h"
#include "robot/installer.h"
#include "robot/packages.h"
#include "robot/prefix_snapshot.h"
#include "robot/process.h"
#include "robot/report.h"
#include "robot/run_log.h"
#include "robot/running_copy.h"
#include "robot/scenario.h"
#include "robot/screenshot.h"
#include "robot/shortcut_checks.h"
#include "robot/system_state.h"
#include "robot/ui.h"
#include "robot/uninstall_entry_check.h"
#include "robot/uninstaller.h"

using namespace robot;

namespace {

// 乗 (81 5C) and 嘰 (87 5C): a folder whose bytes hold 5C inside characters,
// under a parent that exists before the installation.
const char kChineseDir[] = "C:\\Program Files\\\x81\x5c\x87\x5c\\";

std::string DemoPackage() {
    const std::string package = PackageFolder() + "data.dat";
    if (!FileExists(package))
        PackFolder(DemoPayloadDir(), package);
    return package;
}

// Install.exe /S into `dir` (empty: the default directory); exit 0 expected.
void InstallSilently(const std::string& package, const std::string& dir) {
    SetupOptions options;
    options.package = package;
    Installer run(options);
    std::string arguments = "/S";
    // A drive's root keeps its backslash (/D=C:\), any other loses it.
    if (!dir.empty())
        arguments += " /D=" + (dir.size() == 3 ? dir : dir.substr(0, dir.size() - 1));
    Step("Install.exe " + arguments);
    run.Start(arguments);
    Require(run.WaitExit(60000), "the installation ends");
    CheckEqual(run.process().ExitCode(), 0, "exit code: installed");
    Require(FileExists(dir.empty() ? std::string(kDefaultInstallDir) + "uninstall.exe"
                                   : dir + "uninstall.exe"),
            "uninstall.exe is installed");
}

// The wizard into `dir`, every offer unticked on the finish page.
void InstallWithWizard(const std::string& package, const std::string& dir) {
    SetupOptions options;
    options.package = package;
    Installer run(options);
    run.Start();
    WalkToProgress(run, dir);
    HWND finish = run.WaitFinish();
    Require(finish != nullptr, "the finish page opens");
    for (int box : {IDC_RUN_APP, IDC_OFFER_TOOLBAR, IDC_OFFER_BROWSER})
        Click(finish, box);
    Click(finish, IDOK);
    Require(run.WaitExit(), "the wizard ends after Finish");
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

void ExpectAsBefore(const PrefixSnapshot& before, const std::string& what) {
    CheckEqual(Joined(CompareSnapshots(before, TakePrefixSnapshot(RobotsOwnFolders()))), "",
               what + ": the prefix is as it was before the installation");
}

// ---- Scenarios ------------------------------------------------------------

// Installed and removed again, by /S and by the wizard and the shortcut: the
// prefix is as before, files and folders, registry keys and values alike.
void UninstallRoundTrip() {
    const std::string package = DemoPackage();
    const PrefixSnapshot before = TakePrefixSnapshot(RobotsOwnFolders());

    InstallSilently(package, "");
    CheckEqual(RunUninstaller(std::string(kDefaultInstallDir) + "uninstall.exe", "/S", "C:\\"), 0,
               "exit code: removed");
    ExpectAsBefore(before, "/S");
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    bool pending = false;
    for (const std::string& path : PendingRemovals())
        pending = pending || path.find(std::string(temp) + "qz") != std::string::npos;
    Check(pending, "the working copy's own file waits for the next restart");

    InstallWithWizard(package, kChineseDir);
    CheckShortcutsFor(kChineseDir);
    UninstallByShortcut(kChineseDir, kUninstallDoneWide);
    ExpectAsBefore(before, "the wizard and the 卸载 shortcut");

    Step("the comparison sees a file left behind");
    Require(WriteWholeFile("C:\\Program Files\\left.txt", "x"), "a file is left");
    CheckEqual(Joined(CompareSnapshots(before, TakePrefixSnapshot(RobotsOwnFolders()))),
               "+ F C:\\Program Files\\left.txt", "the comparison names it");
}

// What the user added to the install directory stays, with the directory.
void UninstallUserData() {
    const std::string dir = "C:\\Apps\\Qorvane\\";
    InstallSilently(DemoPackage(), dir);
    Require(WriteWholeFile(dir + "mine.txt", "mine") && MakeDirs(dir + "notes\\") &&
                WriteWholeFile(dir + "notes\\a.txt", "a") && MakeDirs(dir + "data\\saved\\") &&
                WriteWholeFile(dir + "data\\saved\\game.sav", "save"),
            "the user's files are added");
    CheckEqual(RunUninstaller(dir + "uninstall.exe", "/S", dir), 0, "exit code: removed");
    std::string left;
    for (const auto& entry : ListTree(dir))
        left += entry.first + " ";
    CheckEqual(left, "data\\ data\\saved\\ data\\saved\\game.sav mine.txt notes\\ notes\\a.txt ",
               "only the user's files and their folders stay");
    Check(!MachineKeyExists(kProductKey), "the record is gone");
    CheckNoShortcuts();
}

// Into a folder that held other files, and into a drive's root: only the
// package's files go.
void UninstallSharedFolders() {
    const std::string package = DemoPackage();
    const std::string shared = "C:\\Shared\\";
    Require(MakeDirs(shared + "data\\") && WriteWholeFile(shared + "other.txt", "other") &&
                WriteWholeFile(shared + "data\\keep.txt", "keep"),
            "the folder holds other files");
    const PrefixSnapshot before = TakePrefixSnapshot(RobotsOwnFolders());
    InstallSilently(package, shared);
    CheckEqual(RunUninstaller(shared + "uninstall.exe", "/S", "C:\\"), 0, "exit code: removed");
    ExpectAsBefore(before, "a folder that held other files");

    InstallSilently(package, "C:\\");
    CheckEqual(RunUninstaller("C:\\uninstall.exe", "/S", "C:\\"), 0, "exit code: removed");
    ExpectAsBefore(before, "the root of drive C:");
}

// A list that does not read as the installer writes it removes nothing; nor
// does an unknown option, a second uninstaller, or one where nothing is
// installed.
void UninstallRefusals() {
    const std::string dir = "C:\\H\\Qorvane\\";
    InstallSilently(DemoPackage(), dir);
    Require(
        WriteWholeFile("C:\\sentinel.txt", "keep") && WriteWholeFile("C:\\H\\sentinel.txt", "k"),
        "sentinels are placed");
    const std::string log = ReadWholeFile(dir + "install.log");
    const char* const lines[] = {
        "[FILE] ..\\..\\sentinel.txt\r\n",
        "[FILE] ..\\sentinel.txt\r\n",
        "[FILE] C:\\sentinel.txt\r\n",
        "[FILE] \\\\?\\C:\\x\r\n",
        "[FILE] a:b\r\n",
        "[FILE] CON\r\n",
        "sentinel.txt\r\n",
        "[FILE] readme.txt",
    };
    for (const char* line : lines) {
        Require(WriteWholeFile(dir + "install.log", log + line), "the list is rewritten");
        const PrefixSnapshot before = TakePrefixSnapshot(RobotsOwnFolders());
        CheckEqual(RunUninstaller(dir + "uninstall.exe", "/S", dir), 2,
                   std::string("exit code: refused, for ") + Printable(line));
        ExpectAsBefore(before, "a hostile list");
    }
    Require(WriteWholeFile(dir + "install.log", log), "the list is as installed");
    const PrefixSnapshot before = TakePrefixSnapshot(RobotsOwnFolders());
    CheckEqual(RunUninstaller(dir + "uninstall.exe", "/S /X", dir), 7, "exit code: unknown option");
    {
        const HANDLE other = ::CreateMutexA(nullptr, FALSE, "Tarnwell.Qorvane.Uninstall");
        CheckEqual(RunUninstaller(dir + "uninstall.exe", "/S", dir, true), 6,
                   "exit code: another uninstaller runs");
        ::CloseHandle(other);
    }
    CheckEqual(RunUninstaller(dir + "uninstall.exe", "/working-copy", dir), 4,
               "the working copy's argument alone, without its pipe, does nothing");
    Require(
        MakeDirs("C:\\Twice\\") && CopyOneFile(dir + "uninstall.exe", "C:\\Twice\\uninstall.exe"),
        "an uninstaller where nothing is installed");
    CheckEqual(RunUninstaller("C:\\Twice\\uninstall.exe", "/S", dir), 1,
               "exit code: nothing installed there");
    Check(FileExists("C:\\Twice\\uninstall.exe"), "and nothing removed there");
    ::DeleteFileA("C:\\Twice\\uninstall.exe");
    ::RemoveDirectoryA("C:\\Twice");
    ExpectAsBefore(before, "refused runs");
}

// A running copy: exit 5 and nothing removed in /S, the question in the
// window. A held file: marked for removal at the next restart, with the
// folders above it, and the rest removed now: 3010 in /S, with the refusal
// and the marks in the log, the restart in the window's last message.
void UninstallRunningCopyAndHeldFile() {
    const std::string dir = "C:\\R\\Qorvane\\";
    const std::string held = dir + "data\\pendrel.exe";
    InstallSilently(DemoPackage(), dir);
    {
        const PrefixSnapshot before = TakePrefixSnapshot(RobotsOwnFolders());
        RunningCopy copy("C:\\qz-e2e\\");
        CheckEqual(RunUninstaller(dir + "uninstall.exe", "/S", dir), 5,
                   "exit code: a running copy");
        ExpectAsBefore(before, "a running copy in /S");
    }
    {
        RunningCopy copy("C:\\qz-e2e\\");
        const Shortcut link = ReadShortcut(ProgramsUninstallLink());
        Process process;
        Require(process.Start(link.target, "", link.workingDirectory), "uninstall.exe starts");
        HWND question = WaitMessageBox(process.Id(), kUninstallerAppName, Buttons::kYesNo);
        Require(question != nullptr, "the uninstaller asks first");
        Click(question, IDYES);
        Require(WaitGone(question), "the question closes when answered");
        HWND wait = WaitAnyDialog(kUninstallerAppName, 0xFFFF, 30000);
        Require(wait != nullptr, "the running-copy question appears");
        HWND window = WaitAnyDialog(kUninstallCaption, IDC_PROGRESS);
        Check(window != nullptr && IsShown(Item(window, IDC_STATUS)),
              "over the uninstaller's window with its progress bar and status line");
        Check(WideMessageBoxText(wait) == kUninstallRunningCopyQuestionWide,
              "the running-copy question's text");
        Check(CheckButtons(wait, Buttons::kOkCancel), "OK and Cancel");
        Click(wait, IDOK);
        // The next box has the same caption: the one answered must be gone first.
        Require(WaitGone(wait), "the running-copy question closes when answered");
        HWND again = WaitAnyDialog(kUninstallerAppName, 0xFFFF, 30000);
        Require(again != nullptr, "asked again while the copy stays open");
        Check(WideMessageBoxText(again) == kUninstallRunningCopyQuestionWide, "the same question");
        copy.Close();
        Click(again, IDOK);
        Require(WaitGone(again), "the running-copy question closes when answered again");
        HWND done = WaitAnyDialog(kUninstallerAppName, 0xFFFF, 60000);
        Require(done != nullptr, "the last message appears");
        Check(WideMessageBoxText(done) == kUninstallDoneWide, "Qorvane was removed");
        Click(done, IDOK);
        Check(WaitUninstallersGone(), "the uninstaller ends");
        Check(!DirExists(dir), "the install directory is gone");
        Check(!MachineKeyExists(kProductKey) && !MachineKeyExists(kVendorKey),
              "the record is gone");
        CheckNoShortcuts();
    }

    Step("a held file in /S, logged to a quoted path with spaces");
    InstallSilently(DemoPackage(), dir);
    {
        const std::string log = "C:\\log dir\\uninstall run.log";
        Require(MakeDirs("C:\\log dir\\"), "the log's folder is made");
        FileHold hold(held);
        CheckEqual(RunUninstaller(dir + "uninstall.exe", "/S /LOG=\"" + log + "\"", dir), 3010,
                   "exit code: removed, a restart completes it");
        Check(FileExists(held), "the held file stays until the restart");
        Check(!FileExists(dir + "readme.txt") && !FileExists(dir + "install.log") &&
                  !FileExists(dir + "uninstall.exe"),
              "the rest goes, install.log and uninstall.exe with it");
        Check(!MachineKeyExists(kProductKey), "the record is gone");
        CheckNoUninstallEntry("a held file");
        CheckNoShortcuts();
        // The file first, then each folder that holds it, deepest first.
        const std::vector<std::string> pending = PendingRemovals();
        std::vector<std::size_t> at;
        for (const std::string& path : {held, dir + "data", dir.substr(0, dir.size() - 1)}) {
            const auto found = std::find(pending.begin(), pending.end(), "\\??\\" + path);
            at.push_back(static_cast<std::size_t>(found - pending.begin()));
            Check(found != pending.end(), "marked for the restart: " + path);
        }
        Check(at[0] < at[1] && at[1] < at[2], "the file before its folders");

        const std::vector<std::wstring> lines = ReadRunLog(log);
        Require(!lines.empty(), "the log has lines");
        const std::wstring failure = L"无法删除 " + Widen(held) + L" (错误 32: ";
        CheckEqual(CountLines(lines, failure), 1, "the log names the held file with error 32");
        CheckLogLine(lines, L"将在重新启动时删除 " + Widen(held), "the file's mark");
        CheckLogLine(lines, L"将在重新启动时删除 " + Widen(dir + "data"), "its folder's mark");
        CheckLogLine(lines, L"已删除文件 " + Widen(dir + "uninstall.exe"),
                     "uninstall.exe's removal");
        CheckEqual(lines.back(), L"退出代码: 3010", "the last line is the exit code");
    }

    Step("a held file in the window");
    InstallSilently(DemoPackage(), dir);
    FileHold hold(held);
    UninstallByShortcut(dir, kUninstallRestartStartWide);
    Check(FileExists(held) && !FileExists(dir + "install.log"),
          "the held file stays until the restart, the rest goes");
}

// /LOG= for uninstall.exe /S: a relative log taken from the start directory,
// naming the command line, the install directory, every file, folder,
// shortcut and registry value removed, and the exit code last; a log that
// cannot be created is exit code 8 with nothing removed.
void UninstallLog() {
    const std::string dir = "C:\\My Apps\\Qorvane\\";
    const std::wstring wideDir = Widen(dir);
    const std::string start = "C:\\qz-e2e\\log-start\\";
    Require(MakeDirs(start), "the start directory is made");
    InstallSilently(DemoPackage(), dir);

    CheckEqual(RunUninstaller(dir + "uninstall.exe", "/S /LOG=C:\\no-folder\\x.log", start), 8,
               "exit code: the log cannot be created");
    Check(FileExists(dir + "install.log") && FileExists(dir + "uninstall.exe") &&
              MachineKeyExists(kProductKey),
          "nothing is removed");
    Check(!DirExists("C:\\no-folder\\"), "no folder for the log");

    const std::string arguments = "/S /LOG=uninstall.log";
    CheckEqual(RunUninstaller(dir + "uninstall.exe", arguments, start), 0, "exit code: removed");
    Check(!DirExists(dir), "the install directory is gone");
    const std::vector<std::wstring> lines = ReadRunLog(start + "uninstall.log");
    Require(!lines.empty(), "the log has lines");
    Check(lines.front().rfind(L"命令行: ", 0) == 0 &&
              lines.front().find(Widen(arguments)) != std::wstring::npos,
          "the first line is the command line: " + Printable(lines.front()));
    CheckLogLine(lines, L"安装目录: " + wideDir, "the install directory");
    long long files = 1;  // install.log
    for (const auto& entry : ListTree(DemoPayloadDir())) {
        if (entry.second < 0) {
            CheckLogLine(
                lines,
                L"已删除文件夹 " + wideDir + Widen(entry.first.substr(0, entry.first.size() - 1)),
                "a folder");
        } else {
            ++files;
            CheckLogLine(lines, L"已删除文件 " + wideDir + Widen(entry.first), "a file");
        }
    }
    CheckLogLine(lines, L"已删除文件 " + wideDir + L"install.log", "install.log");
    CheckEqual(CountLines(lines, L"已删除文件 "), files, "the files removed, each once");
    for (const std::string& link : {DesktopLink(), ProgramsAppLink(), ProgramsUninstallLink()})
        CheckLogLine(lines, L"已删除快捷方式 " + Widen(link), "a shortcut");
    Check(CountLines(lines, L"已删除注册表") > 0, "the registry's removals");
    CheckEqual(CountLines(lines, L"无法"), 0, "no failure");
    CheckEqual(lines.back(), L"退出代码: 0", "the last line is the exit code");
}

// A link planted inside the install directory, to a folder of sentinels: not
// followed; what lies behind it stays, the link is reported, the rest goes.
void UninstallPlantedLink() {
    const std::string dir = "C:\\L\\Qorvane\\";
    InstallSilently(DemoPackage(), dir);
    Require(MakeDirs("C:\\Sentinels\\") && WriteWholeFile("C:\\Sentinels\\setup.exe", "sentinel") &&
                WriteWholeFile("C:\\Sentinels\\other.txt", "other"),
            "the sentinels are placed");
    RemoveTree(dir + "data\\skelmot\\");
    Require(!DirExists(dir + "data\\skelmot"), "the installed folder is taken away");
    Require(qz::test::PlantFolderLink(dir + "data\\skelmot", "C:\\Sentinels"),
            "a folder link is planted where data\\skelmot was");
    const std::string installed = ReadWholeFile(dir + "install.log");
    CheckEqual(RunUninstaller(dir + "uninstall.exe", "/S", "C:\\"), 3,
               "exit code: something stayed");
    CheckEqual(ReadWholeFile("C:\\Sentinels\\setup.exe"), "sentinel",
               "the sentinel behind it stays");
    CheckEqual(ReadWholeFile("C:\\Sentinels\\other.txt"), "other", "and the other one");
    Check(DirExists(dir + "data\\skelmot"), "the link itself is left alone");
    // What stays, in the list's order: the names behind the link, and uninstall.exe.
    std::string stays;
    for (std::size_t at = 0, end; (end = installed.find("\r\n", at)) != std::string::npos;
         at = end + 2) {
        const std::string line = installed.substr(at, end + 2 - at);
        if (line.find("[FILE] data\\skelmot\\") == 0 || line == "[FILE] uninstall.exe\r\n")
            stays += line;
    }
    CheckEqual(ReadWholeFile(dir + "install.log"), stays, "install.log lists what stayed");
    Check(stays.find("setup.exe") != std::string::npos, "among it the file behind the link");
    Check(!FileExists(dir + "readme.txt") && !FileExists(dir + "data\\pendrel.exe"),
          "the other files go");
    Check(MachineKeyExists(kProductKey), "the record stays for a later run");
}

// The entry in the list of installed programs: QuietUninstallString run as a
// management tool runs it, split at its quotes, removes the product and the
// entry; an entry that names another directory survives an uninstallation of
// this one.
void UninstallAppsEntry() {
    const std::string package = DemoPackage();
    const PrefixSnapshot before = TakePrefixSnapshot(RobotsOwnFolders());
    const std::string first = "C:\\First\\";
    const std::string second = "C:\\Second\\";

    InstallSilently(package, first);
    InstallSilently(package, second);
    CheckEqual(RunUninstaller(first + "uninstall.exe", "/S", "C:\\"), 0, "exit code: removed");
    Check(!FileExists(first + "install.log"), "the first installation is removed");
    CheckEqual(ReadUninstallEntryText(L"InstallLocation"), L"C:\\Second",
               "the entry of the second installation survives the first one's removal");

    const std::wstring quiet = ReadUninstallEntryText(L"QuietUninstallString");
    const size_t close = quiet.find(L'"', 1);
    Require(quiet.size() > 2 && quiet[0] == L'"' && close != std::wstring::npos,
            "QuietUninstallString begins with a quoted program: " + Printable(quiet));
    const std::wstring program = quiet.substr(1, close - 1);
    std::wstring arguments = quiet.substr(close + 1);
    arguments.erase(0, arguments.find_first_not_of(L' '));
    CheckEqual(arguments, L"/S", "QuietUninstallString's arguments");
    CheckEqual(RunUninstaller(Narrow(program), Narrow(arguments), "C:\\"), 0,
               "QuietUninstallString: exit code: removed");
    CheckNoUninstallEntry("after QuietUninstallString");
    ExpectAsBefore(before, "both installations and the entry");
}

const Scenario round_trip("uninstall_round_trip", &UninstallRoundTrip);
const Scenario user_data("uninstall_user_data", &UninstallUserData);
const Scenario shared_folders("uninstall_shared_folders", &UninstallSharedFolders);
const Scenario refusals("uninstall_refusals", &UninstallRefusals);
const Scenario planted("uninstall_planted_link", &UninstallPlantedLink);
const Scenario appsEntry("uninstall_apps_entry", &UninstallAppsEntry);
const Scenario held("uninstall_running_and_held", &UninstallRunningCopyAndHeldFile);
const Scenario log("uninstall_log", &UninstallLog);

}  // namespace
