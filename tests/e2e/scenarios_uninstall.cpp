// The product's uninstall.exe, as people meet it: started from the Start
// menu's 卸载 shortcut (its question, its window, its last message) or by a
// script with /S, it leaves the machine as it was before the installation,
// except for what the user added, and nothing else goes.
#include <windows.h>

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
// window. A held file: reported, the rest removed, a later run finishes.
void UninstallRunningCopyAndHeldFile() {
    const std::string dir = "C:\\R\\Qorvane\\";
    InstallSilently(DemoPackage(), dir);
    {
        const PrefixSnapshot before = TakePrefixSnapshot(RobotsOwnFolders());
        RunningCopy copy("C:\\qz-e2e\\");
        CheckEqual(RunUninstaller(dir + "uninstall.exe", "/S", dir), 5,
                   "exit code: a running copy");
        ExpectAsBefore(before, "a running copy in /S");
    }
    {
        FileHold hold(dir + "data\\pendrel.exe");
        CheckEqual(RunUninstaller(dir + "uninstall.exe", "/S", dir), 3, "exit code: partly");
        Check(FileExists(dir + "data\\pendrel.exe"), "the held file stays");
        Check(!FileExists(dir + "readme.txt"), "the rest goes");
        CheckEqual(ReadWholeFile(dir + "install.log"),
                   "[FILE] data\\pendrel.exe\r\n[FILE] uninstall.exe\r\n",
                   "install.log lists what stays, in its order");
        Check(FileExists(dir + "uninstall.exe"), "uninstall.exe stays");
        Check(ReadShortcut(ProgramsUninstallLink()).loaded, "its shortcut stays");
        Check(!ReadShortcut(DesktopLink()).loaded, "the application's shortcut goes");
        CheckEqual(ReadMachineValue(kProductKey, "path").bytes, dir + std::string(1, '\0'),
                   "the record stays");
    }
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
    Check(!MachineKeyExists(kProductKey) && !MachineKeyExists(kVendorKey), "the record is gone");
    CheckNoShortcuts();
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

}  // namespace
